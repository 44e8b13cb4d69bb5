#include "StringTable.h"

#include "ResourceIds.h"

namespace quorvel {
namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

// English (United States). "\n" in the resolve failure is a single line feed, and there is no
// blank after its comma; '&' marks the About item's mnemonic.
constexpr StringEntry kStringTable[] = {
    {IDS_ABOUTBOX, "&About Quorvel..."},
    {IDS_READY, "Ready."},
    {IDS_ENTER_ADDRESS, "Please type destination address."},
    {IDS_QUERYING, "Querying..."},
    {IDS_RESOLVE_FAILED,
     "Sorry,unable to resolve this destination address!\nHave a double check on destination "
     "address or your network connection, please."},
    {IDS_PRIVATE_ADDRESS, "This is a private IP address."},
    {IDS_QUERY_FAILED, "Failed to query."},
    {IDS_LOOPBACK_ADDRESS, "This is a loopback address for this local computer."},
    {IDS_SERVER_RESOLVE_FAILED, "Failed to resolve server!"},
    {IDS_SOCKETS_START_FAILED, "WSAStartup failed!"},
};

}  // namespace

std::string LoadStringResource(unsigned id) {
    for (const StringEntry& entry : kStringTable) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return {};
}

}  // namespace quorvel
