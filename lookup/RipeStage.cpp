// The RIPE NCC stage: RIPE NCC's record, or LACNIC for blocks RIPE NCC names as space it does
// not hold (IANA-BLK, today NON-RIPE-NCC-MANAGED-ADDRESS-BLOCK).
#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "Scanners.h"

namespace quorvel {

int RegistryLookup::RipeStage() {
    if (!Ask(Registry::RipeNcc, m_address)) {
        return 0;
    }
    KeepRecordFrom(ScanRipeReply(m_reply, m_fields));
    // Every way here leaves the marker RIPE-CIDR-BLOCK in netName (ARIN's hand-overs set it on
    // purpose), so a RIPE NCC reply that names no network shows its record rather than failing
    // on the IANA name APNIC gave.
    if (m_fields.netName == kRipeIanaBlock || m_fields.netName == kRipeNonManagedBlock) {
        return LacnicStage();
    }
    if (StartsWith(m_fields.netName, "IANA")) {
        return 0;  // a block nobody in the chain holds
    }
    return RecordEnding();
}

}  // namespace quorvel
