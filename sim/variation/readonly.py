#
# Read-only objects of the simulated access point: reads answer the recorded value
# (hex-encoded where the tag says so), every write is refused with notWritable and
# leaves the value as it was.
#
from pysnmp.smi import error
from snmpsim.grammar.snmprec import SnmprecGrammar
from snmpsim.record.snmprec import SnmprecRecord


def init(**context):
    pass


def variate(oid, tag, value, **context):
    if not context['nextFlag'] and not context['exactMatch']:
        return context['origOid'], tag, context['errorStatus']
    if context['setFlag']:
        raise error.NotWritableError(
            name=oid, idx=max(0, context['varsTotal'] - context['varsRemaining'] - 1))
    base, encoding = SnmprecRecord.unpackTag(tag)
    syntax = SnmprecGrammar.tagMap[base]()
    if encoding == 'x':
        return oid, tag, syntax.clone(hexValue=value)
    return oid, tag, syntax.clone(value)


def shutdown(**context):
    pass
