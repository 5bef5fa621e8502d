#!/usr/bin/python3
"""A misbehaving SNMPv1/v2c agent for tests, on 127.0.0.1:PORT.

Mode "backwards": every get-next and get-bulk is answered inside the column asked for,
alternating between rows 2 and 1, so a walk that trusts the agent never ends.
Mode "short": a request for several objects is answered with the first one only.
Mode "endless": every get-next and get-bulk is answered with the next row of the column
asked for, so the table never ends.
Mode "renamed": every object asked for is answered under its name plus ".1".
Mode "toobig": a column 1.3.6.1.4.1.32473.9.1.1.1 of TOOBIG_ROWS rows (row N holds N);
a get-bulk asking for more than TOOBIG_LIMIT repetitions is refused with tooBig. A get of
COUNT_OID answers how many get-next and get-bulk requests came before.
Mode "emptybulk": every get-next and get-bulk is answered without any binding.
Mode "itself": every get-next and get-bulk is answered with the column asked for itself,
the identifier without any row index.
Otherwise the objects asked for are answered, each INTEGER 1.
"""
import socket
import sys

from pyasn1.codec.ber import decoder, encoder
from pysnmp.proto import api

COLUMN_LENGTH = 11  # 1.3.6.1.4.1.32473.9.1.1.N
COLUMN = (1, 3, 6, 1, 4, 1, 32473, 9, 1, 1, 1)
TOOBIG_ROWS = 30
TOOBIG_LIMIT = 8
COUNT_OID = (1, 3, 6, 1, 4, 1, 32473, 9, 99, 0)


def next_in_column(ids):
    """The column's object after ids, or the first object after the column."""
    if ids[:COLUMN_LENGTH] < COLUMN or (ids[:COLUMN_LENGTH] == COLUMN and len(ids) == COLUMN_LENGTH):
        return COLUMN + (1,), 1
    if ids[:COLUMN_LENGTH] == COLUMN and ids[COLUMN_LENGTH] < TOOBIG_ROWS:
        row = ids[COLUMN_LENGTH] + 1
        return COLUMN + (row,), row
    return COLUMN[:-1] + (2, 1), 0


def main():
    port, mode = int(sys.argv[1]), sys.argv[2]
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.bind(("127.0.0.1", port))
    walks = 0
    while True:
        data, peer = sock.recvfrom(65535)
        proto = api.protoModules[int(api.decodeMessageVersion(data))]
        message, _ = decoder.decode(data, asn1Spec=proto.Message())
        request = proto.apiMessage.getPDU(message)
        response = proto.apiPDU.getResponse(request)
        answers = []
        bulk = hasattr(proto, "GetBulkRequestPDU") and request.isSameTypeWith(proto.GetBulkRequestPDU())
        walking = request.isSameTypeWith(proto.GetNextRequestPDU()) or bulk
        if walking:
            walks += 1
        if mode == "toobig" and walking:
            repetitions = proto.apiBulkPDU.getMaxRepetitions(request) if bulk else 1
            if repetitions > TOOBIG_LIMIT:
                proto.apiPDU.setErrorStatus(response, 1)
                proto.apiPDU.setVarBinds(response, proto.apiPDU.getVarBinds(request))
            else:
                names = [tuple(name) for name, _ in proto.apiPDU.getVarBinds(request)]
                for _ in range(repetitions):
                    for i, ids in enumerate(names):
                        names[i], value = next_in_column(ids)
                        answers.append((names[i], proto.Integer(value)))
                proto.apiPDU.setVarBinds(response, answers)
            proto.apiMessage.setPDU(message, response)
            sock.sendto(encoder.encode(message), peer)
            continue
        for name, _ in proto.apiPDU.getVarBinds(request):
            ids = tuple(name)
            if mode == "toobig" and ids == COUNT_OID:
                answers.append((ids, proto.Integer(walks)))
                continue
            if mode == "backwards" and walking:
                row = 1 if ids[-1] == 2 and len(ids) > COLUMN_LENGTH else 2
                ids = ids[:COLUMN_LENGTH] + (row,)
            if mode == "endless" and walking:
                row = ids[COLUMN_LENGTH] + 1 if len(ids) > COLUMN_LENGTH else 1
                ids = ids[:COLUMN_LENGTH] + (row,)
            if mode == "itself" and walking:
                ids = ids[:COLUMN_LENGTH]
            if mode == "renamed":
                ids = ids + (1,)
            answers.append((ids, proto.Integer(1)))
        if mode == "short":
            answers = answers[:1]
        if mode == "emptybulk" and walking:
            answers = []
        proto.apiPDU.setVarBinds(response, answers)
        proto.apiMessage.setPDU(message, response)
        sock.sendto(encoder.encode(message), peer)


if __name__ == "__main__":
    main()
