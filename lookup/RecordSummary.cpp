#include "RecordSummary.h"

#include <optional>
#include <vector>

#include "ByteText.h"
#include "ReplyLines.h"

namespace quorvel {
namespace {

// The lines of one text, and the part of them a scope reads.
struct LineRange {
    const std::vector<ReplyLine>* lines;
    std::size_t begin;
    std::size_t end;
};

bool IsEmptyLine(const ReplyLine& line) {
    return WithoutSurroundingBlanks(line.text).empty();
}

// From `begin` up to the first empty line after it: one RPSL object.
LineRange ObjectFrom(const std::vector<ReplyLine>& lines, std::size_t begin) {
    std::size_t end = begin;
    while (end < lines.size() && !IsEmptyLine(lines[end])) {
        ++end;
    }
    return {&lines, begin, end};
}

LineRange Everything(const std::vector<ReplyLine>& lines) {
    return {&lines, 0, lines.size()};
}

// The texts a summary is read from, split once.
class SummaryText {
public:
    SummaryText(std::string_view record, std::string_view reply)
        : m_recordLines(SplitReplyLines(record)), m_replyLines(SplitReplyLines(reply)) {}

    LineRange Scope(SummaryScope scope) const {
        switch (scope) {
            case SummaryScope::Record:
                return Everything(m_recordLines);
            case SummaryScope::RecordObject:
                return ObjectFrom(m_recordLines, 0);
            case SummaryScope::Reply:
                return Everything(m_replyLines);
            case SummaryScope::Organisation:
                break;
        }
        const std::optional<std::size_t> organisation =
            FindLineBeginningWith(m_replyLines, {"organisation:"});
        return organisation ? ObjectFrom(m_replyLines, *organisation)
                            : LineRange{&m_replyLines, 0, 0};
    }

private:
    std::vector<ReplyLine> m_recordLines;
    std::vector<ReplyLine> m_replyLines;
};

bool IsDecimal(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "13335" as "AS13335"; anything else (a range of numbers, a value already written with its
// "AS") as it stands.
std::string WrittenAsAsNumber(std::string_view value) {
    if (!IsDecimal(value)) {
        return std::string(value);
    }
    const std::size_t firstSignificant = std::min(value.find_first_not_of('0'), value.size() - 1);
    return "AS" + std::string(value.substr(firstSignificant));
}

std::optional<std::string> ValueFrom(const SummarySource& source, const SummaryText& text) {
    const LineRange range = text.Scope(source.scope);
    for (std::size_t index = range.begin; index < range.end; ++index) {
        for (const std::string_view name : source.names) {
            if (name.empty()) {
                continue;
            }
            if (const std::optional<std::string> value =
                    AttributeValue((*range.lines)[index], name)) {
                const std::string_view trimmed = WithoutSurroundingBlanks(*value);
                if (trimmed.empty()) {
                    return std::nullopt;  // the first occurrence counts, even without a value
                }
                return source.form == SummaryForm::AsNumber ? WrittenAsAsNumber(trimmed)
                                                            : std::string(trimmed);
            }
        }
    }
    return std::nullopt;
}

std::string Read(const SummaryField& field, const SummaryText& text) {
    for (const SummarySource* source : {&field.first, &field.otherwise}) {
        if (std::optional<std::string> value = ValueFrom(*source, text)) {
            return std::move(*value);
        }
    }
    return {};
}

bool Covers(RecordKind kind, bool asNumber) {
    return kind == RecordKind::Either || (kind == RecordKind::AsNumber) == asNumber;
}

}  // namespace

const SummaryAttributes* SummaryAttributesFor(Registry registry, bool asNumber) {
    for (const SummaryRow& row : kSummaryRows) {
        if (row.registry == registry && Covers(row.kind, asNumber)) {
            return row.attributes;
        }
    }
    return nullptr;
}

RecordSummary SummarizeRecord(const SummaryAttributes& attributes, std::string_view record,
                              std::string_view reply) {
    const SummaryText text(record, reply);
    return {Read(attributes.range, text), Read(attributes.network, text),
            Read(attributes.holder, text), Read(attributes.country, text)};
}

}  // namespace quorvel
