// The destinations of a batch, in the order given: the arguments, and the lines of each file
// (one destination a line; empty lines and comment lines skipped), or with --extract the
// addresses found in all of them.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "AddressFinder.h"
#include "ToolOptions.h"

namespace quorvel {

struct BatchItem {
    std::string destination;  // as typed
    std::size_t count = 0;    // with --extract: how often the address occurs
};

// One destination a line, LF or CR LF; a UTF-8 byte-order mark at the start is ignored, and so
// are lines that are empty (or blank) and lines beginning with '#'.
class CDestinationLines {
public:
    explicit CDestinationLines(std::istream& in) : m_in(in) {}
    std::optional<std::string> Next();

private:
    std::istream& m_in;
    bool m_atStart = true;
};

class CBatchInput {
public:
    // `standardInput` is what "-" reads.
    CBatchInput(const ToolOptions& options, std::istream& standardInput);

    // Opens every file; false after a file that cannot be read, which has been reported.
    bool Open(std::ostream& err);

    // The next destination; none at the end. With --extract, the first call reads all input.
    std::optional<BatchItem> Next();

    // How many destinations there are, where that is known before they are read (not with
    // lines from standard input or a pipe).
    std::optional<std::size_t> KnownTotal() const { return m_knownTotal; }

private:
    std::istream& StreamOf(std::size_t input);
    void FindAddresses();

    const ToolOptions& m_options;
    std::istream& m_standardInput;
    std::vector<std::unique_ptr<std::istream>> m_files;  // by input; none for arguments and "-"
    std::size_t m_input = 0;
    std::unique_ptr<CDestinationLines> m_lines;
    std::optional<std::size_t> m_knownTotal;
    std::optional<CAddressFinder> m_finder;
    std::size_t m_nextFound = 0;
};

}  // namespace quorvel
