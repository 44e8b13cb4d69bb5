// The AFRINIC stage, reached when ARIN or IANA names AFRINIC. AFRINIC answers in RPSL objects,
// read by attribute name at line starts:
//
//   inetnum:        196.11.239.0 - 196.11.246.255
//   netname:        NET-196-11-239-0
//   descr:          MTN Business Solutions (Pty) Ltd
//   ...
//
// The record runs from the first inetnum (or inet6num) line to the reply's end; a network name
// beginning "IANA" is AFRINIC's placeholder for space it does not hold.
#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "ReplyLines.h"

namespace quorvel {

int RegistryLookup::AfrinicStage() {
    if (!Ask(Registry::Afrinic, m_address)) {
        return 0;
    }
    const std::vector<ReplyLine> lines = SplitReplyLines(m_reply);
    const std::optional<std::size_t> recordStart =
        FindLineBeginningWith(lines, {"inetnum:", "inet6num:"});
    if (!recordStart) {
        return 0;
    }
    m_fields.netName.clear();
    if (const std::optional<std::size_t> nameLine =
            FindLineBeginningWith(lines, {"netname:"}, *recordStart + 1)) {
        m_fields.netName = *AttributeValue(lines[*nameLine], "netname:");
    }
    if (StartsWith(m_fields.netName, "IANA")) {
        return 0;
    }
    KeepRecord(lines[*recordStart].start);
    return RecordEnding();
}

}  // namespace quorvel
