#include "BatchInput.h"

#include <filesystem>
#include <fstream>

#include "ByteText.h"

namespace quorvel {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kReadPiece = std::size_t{1} << 20;

bool IsStandardInput(const ToolInput& input) {
    return input.kind == ToolInput::Kind::File && input.text == "-";
}

// Blank lines, and comment lines (which may be indented).
bool IsSkipped(const std::string& line) {
    const std::string_view text = WithoutSurroundingBlanks(line);
    return text.empty() || text.front() == '#';
}

// A regular file is read twice: once to count its destinations for the progress line, then for
// the run. Anything else (a pipe: "-f <(grep ...)", "-f /dev/stdin") can be read only once.
bool CanBeReadTwice(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// A directory opens as a file on some systems, and then reads as if it were empty.
bool IsDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::size_t CountDestinations(std::istream& in) {
    CDestinationLines lines(in);
    std::size_t count = 0;
    while (lines.Next()) {
        ++count;
    }
    in.clear();
    in.seekg(0);
    return count;
}

}  // namespace

std::optional<std::string> CDestinationLines::Next() {
    std::string line;
    while (std::getline(m_in, line)) {
        if (m_atStart && line.compare(0, 3, kByteOrderMark) == 0) {
            line.erase(0, 3);
        }
        m_atStart = false;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!IsSkipped(line)) {
            return line;
        }
    }
    return std::nullopt;
}

CBatchInput::CBatchInput(const ToolOptions& options, std::istream& standardInput)
    : m_options(options), m_standardInput(standardInput) {}

bool CBatchInput::Open(std::ostream& err) {
    std::size_t total = 0;
    bool totalKnown = true;
    for (const ToolInput& input : m_options.inputs) {
        std::unique_ptr<std::istream> file;
        if (input.kind == ToolInput::Kind::File && !IsStandardInput(input)) {
            file = std::make_unique<std::ifstream>(input.text, std::ios::binary);
            if (!*file || IsDirectory(input.text)) {
                err << "quorvel-lookup: cannot read '" << input.text << "'\n";
                return false;
            }
            if (!m_options.extract && CanBeReadTwice(input.text)) {
                total += CountDestinations(*file);
            } else {
                totalKnown = false;  // known once the file has been read
            }
        } else if (input.kind == ToolInput::Kind::Destination) {
            ++total;
        } else {
            totalKnown = false;
        }
        m_files.push_back(std::move(file));
    }
    if (totalKnown && !m_options.extract) {
        m_knownTotal = total;
    }
    return true;
}

std::istream& CBatchInput::StreamOf(std::size_t input) {
    return m_files[input] ? *m_files[input] : m_standardInput;
}

std::optional<BatchItem> CBatchInput::Next() {
    if (m_options.extract) {
        if (!m_finder) {
            FindAddresses();
        }
        if (m_nextFound == m_finder->Found().size()) {
            return std::nullopt;
        }
        const FoundAddress& found = m_finder->Found()[m_nextFound++];
        return BatchItem{found.text, found.count};
    }
    while (m_input < m_options.inputs.size()) {
        const ToolInput& input = m_options.inputs[m_input];
        if (input.kind == ToolInput::Kind::Destination) {
            ++m_input;
            return BatchItem{input.text, 0};
        }
        if (!m_lines) {
            m_lines = std::make_unique<CDestinationLines>(StreamOf(m_input));
        }
        if (std::optional<std::string> line = m_lines->Next()) {
            return BatchItem{std::move(*line), 0};
        }
        m_lines.reset();
        ++m_input;
    }
    return std::nullopt;
}

// Every argument and file is text to search; each is a text of its own, so that no address
// runs on from one into the next.
void CBatchInput::FindAddresses() {
    m_finder.emplace();
    std::string piece(kReadPiece, '\0');
    for (std::size_t input = 0; input < m_options.inputs.size(); ++input) {
        if (m_options.inputs[input].kind == ToolInput::Kind::Destination) {
            m_finder->Read(m_options.inputs[input].text);
        } else {
            std::istream& in = StreamOf(input);
            while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) ||
                   in.gcount() > 0) {
                m_finder->Read(
                    std::string_view(piece.data(), static_cast<std::size_t>(in.gcount())));
            }
        }
        m_finder->Finish();
    }
    m_knownTotal = m_finder->Found().size();
}

}  // namespace quorvel
