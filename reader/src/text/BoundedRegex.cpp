#include "BoundedRegex.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace
{

// A match may take this many steps of the matcher (backtracking included):
// a few milliseconds. Patterns a reader writes for chapter titles, cleaning
// or finding need a tiny share of it on a line of text; "(a+)+$" on forty
// letters needs far more.
const uint32_t MatchLimit = 2000000;
// Kibibytes of heap for the backtracking of one match.
const uint32_t HeapLimitKiB = 16 * 1024;
// Nesting of the interpreter's backtracking. The compiled matcher has the
// 32 KiB stack PCRE2 gives it on every thread, and reports when that is not
// enough.
const uint32_t DepthLimit = 10000;

PCRE2_SPTR16 units(QStringView text)
{
    return reinterpret_cast<PCRE2_SPTR16>(text.utf16());
}

QString errorText(int code)
{
    PCRE2_UCHAR16 buffer[256];
    const int length = pcre2_get_error_message(code, buffer, 256);
    return length < 0 ? QStringLiteral("error %1").arg(code)
                      : QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer), length);
}

} // namespace

struct BoundedRegex::Compiled {
    pcre2_code *code = nullptr;
    pcre2_match_context *context = nullptr;

    ~Compiled()
    {
        pcre2_match_context_free(context);
        pcre2_code_free(code);
    }
};

BoundedRegex::BoundedRegex(const QString &pattern, Options options) : m_pattern(pattern)
{
    uint32_t flags = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
    if (options & CaseInsensitive)
        flags |= PCRE2_CASELESS;
    if (options & Multiline)
        flags |= PCRE2_MULTILINE;
    int error = 0;
    PCRE2_SIZE offset = 0;
    auto compiled = std::make_shared<Compiled>();
    compiled->code =
        pcre2_compile(units(pattern), PCRE2_SIZE(pattern.size()), flags, &error, &offset, nullptr);
    if (compiled->code == nullptr) {
        m_error = errorText(error);
        m_errorOffset = int(offset);
        return;
    }
    compiled->context = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(compiled->context, MatchLimit);
    pcre2_set_heap_limit(compiled->context, HeapLimitKiB);
    pcre2_set_depth_limit(compiled->context, DepthLimit);
    // The compiled matcher is many times faster over a novel; where it is
    // not to be had, the interpreter does the same within the same limits.
    pcre2_jit_compile(compiled->code, PCRE2_JIT_COMPLETE);
    m_compiled = compiled;
}

bool BoundedRegex::isValid() const
{
    return m_compiled != nullptr;
}

BoundedRegex::Outcome BoundedRegex::match(QStringView subject, int from, Match *match) const
{
    if (!m_compiled)
        return Outcome::Failed;
    if (from < 0 || from > subject.size())
        return Outcome::NoMatch;
    // The match data holds the groups' offsets; one per call, so that any
    // thread may match.
    pcre2_match_data *data = pcre2_match_data_create_from_pattern(m_compiled->code, nullptr);
    const int result = pcre2_match(m_compiled->code, units(subject), PCRE2_SIZE(subject.size()),
                                   PCRE2_SIZE(from), 0, data, m_compiled->context);
    Outcome outcome = Outcome::Matched;
    if (result == PCRE2_ERROR_NOMATCH || result == PCRE2_ERROR_PARTIAL)
        outcome = Outcome::NoMatch;
    else if (result == PCRE2_ERROR_MATCHLIMIT || result == PCRE2_ERROR_DEPTHLIMIT ||
             result == PCRE2_ERROR_HEAPLIMIT || result == PCRE2_ERROR_JIT_STACKLIMIT)
        outcome = Outcome::LimitHit;
    else if (result < 0)
        outcome = Outcome::Failed;
    if (outcome == Outcome::Matched) {
        const PCRE2_SIZE *offsets = pcre2_get_ovector_pointer(data);
        const int groups = int(pcre2_get_ovector_count(data)) - 1;
        match->start = int(offsets[0]);
        match->length = int(offsets[1] - offsets[0]);
        match->groupStarts.resize(groups);
        match->groupLengths.resize(groups);
        for (int i = 0; i < groups; ++i) {
            const bool set = offsets[2 * i + 2] != PCRE2_UNSET;
            match->groupStarts[i] = set ? int(offsets[2 * i + 2]) : -1;
            match->groupLengths[i] = set ? int(offsets[2 * i + 3] - offsets[2 * i + 2]) : 0;
        }
    }
    pcre2_match_data_free(data);
    return outcome;
}
