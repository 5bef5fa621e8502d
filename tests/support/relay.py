#!/usr/bin/python3
"""A UDP relay on 127.0.0.1:PORT in front of an agent on 127.0.0.1:AGENT, for SNMPv1/v2c.

Usage: relay.py PORT AGENT MODE RECORD [DELAY]
Mode "pass" relays everything. "delay-gets" holds every answer to a GET for DELAY seconds.
"lose-set-answers" passes SETs on but drops their answers (the agent applies what it never
confirms). "refuse-sets" answers every SET itself with notWritable on its first binding and
passes nothing of it on.
RECORD receives, as JSON after every SET, one entry per distinct request ID (a resent SET
counts once): the bindings it carried as [name, value] pairs.
"""
import heapq
import json
import select
import socket
import sys
import time

from pyasn1.codec.ber import decoder, encoder
from pysnmp.proto import api

GET, SET = 0xA0, 0xA3
NOT_WRITABLE = 17


def decode(data):
    proto = api.protoModules[int(api.decodeMessageVersion(data))]
    message, _ = decoder.decode(data, asn1Spec=proto.Message())
    return proto, message, proto.apiMessage.getPDU(message)


def value_text(value):
    try:
        return bytes(value).hex(" ").upper() if value.tagSet == api.v2c.OctetString.tagSet else str(int(value))
    except Exception:
        return value.prettyPrint()


def main():
    port, agent, mode, record = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], sys.argv[4]
    delay = float(sys.argv[5]) if len(sys.argv) > 5 else 0.0
    front = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    front.bind(("127.0.0.1", port))
    back = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    back.bind(("127.0.0.1", 0))
    client, asked, sets, held = None, {}, {}, []
    print("ready", flush=True)
    while True:
        wait = max(0.0, held[0][0] - time.monotonic()) if held else None
        ready, _, _ = select.select([front, back], [], [], wait)
        while held and held[0][0] <= time.monotonic():
            _, _, data, to = heapq.heappop(held)
            front.sendto(data, to)
        if front in ready:
            data, client = front.recvfrom(65535)
            proto, message, pdu = decode(data)
            request_id = int(proto.apiPDU.getRequestID(pdu))
            tag = SET if pdu.isSameTypeWith(proto.SetRequestPDU()) else GET if pdu.isSameTypeWith(proto.GetRequestPDU()) else 0
            asked[request_id] = tag
            if tag == SET:
                sets[request_id] = [[str(n), value_text(v)] for n, v in proto.apiPDU.getVarBinds(pdu)]
                with open(record, "w") as f:
                    json.dump(list(sets.values()), f)
                if mode == "refuse-sets":
                    response = proto.apiPDU.getResponse(pdu)
                    proto.apiPDU.setErrorStatus(response, NOT_WRITABLE)
                    proto.apiPDU.setErrorIndex(response, 1)
                    proto.apiPDU.setVarBinds(response, proto.apiPDU.getVarBinds(pdu))
                    proto.apiMessage.setPDU(message, response)
                    front.sendto(encoder.encode(message), client)
                    continue
            back.sendto(data, ("127.0.0.1", agent))
        if back in ready:
            data, _ = back.recvfrom(65535)
            proto, _, pdu = decode(data)
            answers = asked.get(int(proto.apiPDU.getRequestID(pdu)))
            if mode == "lose-set-answers" and answers == SET:
                continue
            if mode == "delay-gets" and answers == GET:
                heapq.heappush(held, (time.monotonic() + delay, len(held), data, client))
                continue
            front.sendto(data, client)


if __name__ == "__main__":
    main()
