// quorvel-lookup's batch output over arbitrary bytes, as a registry or a log may send them: the
// address finder finds the same addresses whether the text comes whole or in pieces, and finds
// only addresses; the text a terminal gets holds no control character but tab and line ends;
// a JSON line is valid JSON in valid UTF-8, one line, its fields the text the window shows.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

#include "AddressFinder.h"
#include "BatchRows.h"
#include "DottedAddress.h"
#include "FuzzCheck.h"
#include "InformationText.h"
#include "Ipv6Address.h"
#include "TerminalText.h"

namespace {

using namespace quorvel;

std::vector<FoundAddress> FoundIn(std::string_view text, std::size_t piece) {
    CAddressFinder finder;
    for (std::size_t at = 0; at < text.size(); at += piece) {
        finder.Read(text.substr(at, piece));
    }
    finder.Finish();
    return finder.Found();
}

void CheckFinder(std::string_view text) {
    const std::vector<FoundAddress> whole = FoundIn(text, text.size() + 1);
    const std::vector<FoundAddress> pieces = FoundIn(text, 7);
    QUORVEL_FUZZ_CHECK(whole.size() == pieces.size());
    for (std::size_t index = 0; index < whole.size(); ++index) {
        const FoundAddress& found = whole[index];
        QUORVEL_FUZZ_CHECK(found.text == pieces[index].text && found.count == pieces[index].count);
        QUORVEL_FUZZ_CHECK(found.count > 0);
        const std::optional<Ipv6Address> ipv6 = ParseIpv6Address(found.text);
        const bool dotted =
            ParseDottedAddress(found.text) != kInaddrNone || found.text == "255.255.255.255";
        QUORVEL_FUZZ_CHECK(ipv6 ? LookupText(*ipv6) == found.text : dotted);
    }
}

void CheckTerminalText(std::string_view text) {
    const std::string shown = EscapedForTerminal(text);
    for (std::size_t pos = 0; pos < shown.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(shown[pos]);
        const bool lineEnd =
            byte == '\n' || byte == '\t' ||
            (byte == '\r' && shown.find_first_not_of('\r', pos) != std::string::npos &&
             shown[shown.find_first_not_of('\r', pos)] == '\n');
        QUORVEL_FUZZ_CHECK(lineEnd || (byte >= 0x20 && byte != 0x7F));
        const std::size_t length = Utf8SequenceLength(shown, pos);
        if (length == 2 && byte == 0xC2) {
            QUORVEL_FUZZ_CHECK(static_cast<unsigned char>(shown[pos + 1]) > 0x9F);
        }
        if (length == 0) {
            QUORVEL_FUZZ_CHECK(byte > 0x9F);  // no lone byte a Latin-1 terminal takes for C1
        }
        pos += length > 1 ? length - 1 : 0;
    }
}

void CheckJsonLine(const std::string& bytes) {
    BatchRow row;
    row.destination = bytes;
    row.summary.holder = bytes;
    row.record = bytes;
    const std::string line = JsonLine(row);
    QUORVEL_FUZZ_CHECK(!line.empty() && line.back() == '\n');
    QUORVEL_FUZZ_CHECK(line.find('\n') == line.size() - 1);
    QUORVEL_FUZZ_CHECK(IsValidUtf8(line));
    const nlohmann::json parsed = nlohmann::json::parse(line);
    QUORVEL_FUZZ_CHECK(parsed.at("record").get<std::string>() == InformationBoxText(bytes));
    QUORVEL_FUZZ_CHECK(parsed.at("holder").get<std::string>() == InformationBoxText(bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckFinder(bytes);
    CheckTerminalText(bytes);
    CheckJsonLine(bytes);
    return 0;
}
