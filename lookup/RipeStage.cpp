// The RIPE NCC stage: RIPE NCC's record, or LACNIC for blocks RIPE NCC names IANA-BLK.
#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "Scanners.h"

namespace quorvel {

int RegistryLookup::RipeStage() {
    if (!Ask(std::string(ServerHost(Registry::RipeNcc)), m_address)) {
        return 0;
    }
    KeepRecordFrom(ScanRipeReply(m_reply, m_fields));
    if (m_fields.netName == "IANA-BLK") {
        m_fields.netName = kLacnicCidrBlock;
        return LacnicStage();
    }
    if (StartsWith(m_fields.netName, "IANA")) {
        return 0;  // a block nobody in the chain holds
    }
    return RecordEnding();
}

}  // namespace quorvel
