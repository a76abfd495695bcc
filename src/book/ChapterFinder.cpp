#include "book/ChapterFinder.h"

#include "book/HeadingLine.h"
#include "book/HeadingTriggers.h"
#include "book/LineEnds.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

using HeadingLine::Heading;
using Kind = HeadingLine::Kind;

// A line longer than this past its blanks is no heading (one holds at most 100 characters of at
// most 4 bytes) and is not decoded.
constexpr qsizetype kMostHeadingBytes = 1024;
// The same heading again within this many lines is the same entry printed twice.
constexpr qint64 kRepeatLines = 6;
// Headings with at most this many lines of text between them run together, as the lines of a
// printed table of contents do; it lists at least kListed headings of one kind.
constexpr qint64 kListingGap = 2;
constexpr int kListed = 3;
// A rule's entries have on average at least this many non-blank lines each, their own included:
// more entries than that are hits on something else.
constexpr qint64 kLinesPerEntry = 3;
// A run of numbers in sequence this long is a book's numbering; other numbers that break it
// are stray hits.
constexpr qsizetype kRunLength = 3;
// A title may stand after this many blank lines below its heading at most.
constexpr int kBlanksBeforeTitle = 2;

struct Found
{
    qsizetype offset; // where the line starts
    qsizetype end; // where its text ends
    qint64 line;
    qint64 nonBlank; // the non-blank lines before it
    Heading heading;
    bool blankBefore;
    qsizetype titleOffset = -1; // the line of a title joined to it, and its end
    qsizetype titleEnd = -1;

    bool joined() const { return titleOffset >= 0; }
};

// Volume, then Book, Part and Act, then Chapter (or a number alone), then Section and Scene; a
// named part stands outside the order.
int rank(Kind kind)
{
    switch (kind) {
    case Kind::Volume:
        return 0;
    case Kind::Book:
    case Kind::Part:
    case Kind::Act:
        return 1;
    case Kind::Chapter:
    case Kind::Number:
        return 2;
    case Kind::Section:
    case Kind::Scene:
        return 3;
    case Kind::Named:
        break;
    }
    return -1;
}

int rank(const Found &found)
{
    return rank(found.heading.kind);
}

bool isAsciiBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// What one pass over the lines finds: the headings of each rule, and the non-blank lines before
// and up to the end of the book's own text.
struct Scan
{
    std::vector<Found> keyworded; // numbered and named headings
    std::vector<Found> bare; // numbers alone
    bool keywordedOverflow = false;
    bool bareOverflow = false;
    qint64 firstNonBlank = 0;
    qint64 lastNonBlank = 0;
};

void keep(std::vector<Found> &list, bool &overflow, size_t most, const Found &found)
{
    if (list.size() >= most)
        overflow = true;
    if (!overflow)
        list.push_back(found);
}

Scan scan(QByteArrayView text, TextEncoding encoding)
{
    const HeadingTriggers &triggers = HeadingTriggers::of(encoding);
    TextDecoder decoder(encoding);
    QString decoded;
    Scan result;
    // More headings than one every 4 KB are no book's chapters; keeping no more bounds the memory.
    const size_t most = 1024 + size_t(text.size() / 4096);
    qint64 line = 0;
    qint64 nonBlank = 0;
    bool blankBefore = true;
    bool ended = false;
    const char *begin = text.data();
    const char *textEnd = begin + text.size();
    // A line that may be a heading or a marker is decoded and read; false once the book's own
    // text has ended. The line's end is found back from where the next line starts, when that is
    // known.
    const auto readLine = [&](const char *start, const char *p, const char *next, bool before) {
        const char *end = next;
        if (end == textEnd) {
            end = p;
            while (end != textEnd && *end != '\r' && *end != '\n')
                ++end;
        } else {
            end -= end - p >= 2 && end[-2] == '\r' && end[-1] == '\n' ? 2 : 1;
        }
        if (!triggers.mayBeHeading(p, end))
            return true;
        while (end - p > kMostHeadingBytes && isAsciiBlank(end[-1]))
            --end;
        if (end - p > kMostHeadingBytes)
            return true;
        decoder.decode(QByteArrayView(start, end), decoded);
        switch (HeadingLine::marker(decoded)) {
        case HeadingLine::Marker::Start:
            result = Scan();
            result.firstNonBlank = nonBlank;
            return true;
        case HeadingLine::Marker::End:
            result.lastNonBlank = nonBlank - 1;
            ended = true;
            return false;
        case HeadingLine::Marker::None:
            break;
        }
        if (const std::optional<Heading> heading = HeadingLine::read(decoded)) {
            const Found found {start - begin, end - begin, line, nonBlank - 1, *heading, before};
            if (heading->kind == Kind::Number)
                keep(result.bare, result.bareOverflow, most, found);
            else
                keep(result.keyworded, result.keywordedOverflow, most, found);
        }
        return true;
    };
    LineEnds::forEachLineStart(begin, textEnd, [&](const qsizetype *starts, int count) {
        // Through a batch the counters are copies of their own, which stay in registers.
        const char *const first = begin;
        const char *const last = textEnd;
        const HeadingTriggers &lines = triggers;
        qint64 at = line;
        qint64 nonBlanks = nonBlank;
        bool blankAbove = blankBefore;
        bool goOn = true;
        for (int k = 0; k < count && goOn; ++k, ++at) {
            const char *start = first + starts[k];
            const char *p = lines.skipBlanks(start, last);
            const bool blank = lines.isBlankAt(p, last);
            const bool before = std::exchange(blankAbove, blank);
            nonBlanks += blank ? 0 : 1;
            if (blank || !lines.mayStartHeading(p, last))
                continue;
            line = at;
            nonBlank = nonBlanks;
            goOn = readLine(start, p, k + 1 < count ? first + starts[k + 1] : last, before);
        }
        line = at;
        nonBlank = nonBlanks;
        blankBefore = blankAbove;
        return goOn;
    });
    if (!ended)
        result.lastNonBlank = nonBlank;
    return result;
}

// A line after a heading, looked at without scanning far: its end is -1 when it runs on past
// kMostHeadingBytes. Past the end of the text there is no line, which reads as blank.
struct NextLine
{
    qsizetype start;
    qsizetype end;
    qsizetype next;
    bool blank;
    bool exists;
};

qsizetype afterLineEnd(QByteArrayView text, qsizetype end)
{
    if (end >= text.size())
        return end;
    return end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
}

NextLine lineAt(QByteArrayView text, qsizetype start, const HeadingTriggers &triggers)
{
    if (start >= text.size())
        return {start, start, start, true, false};
    const qsizetype limit = std::min(text.size(), start + kMostHeadingBytes);
    qsizetype end = start;
    while (end < limit && text[end] != '\r' && text[end] != '\n')
        ++end;
    if (end == limit && limit < text.size())
        return {start, -1, -1, false, true};
    const bool blank =
        triggers.skipBlanks(text.data() + start, text.data() + end) == text.data() + end;
    return {start, end, afterLineEnd(text, end), blank, true};
}

// The context a heading needs: a number alone stands between blank lines; a heading of only a
// keyword and a number takes the title on the next non-blank line when that reads as one and no
// paragraph goes on below it. False when the heading is dropped.
bool settle(Found &found, QByteArrayView text, const HeadingTriggers &triggers,
            TextDecoder &decoder)
{
    NextLine next = lineAt(text, afterLineEnd(text, found.end), triggers);
    if (found.heading.kind == Kind::Number && (!found.blankBefore || !next.blank))
        return false;
    if (!found.heading.onlyNumber)
        return true;
    for (int blanks = 0; next.exists && next.blank && blanks < kBlanksBeforeTitle; ++blanks)
        next = lineAt(text, next.next, triggers);
    if (!next.exists || next.blank || next.end < 0 || !lineAt(text, next.next, triggers).blank)
        return true;
    QString title;
    decoder.decode(text.sliced(next.start, next.end - next.start), title);
    if (HeadingLine::readsAsTitle(title, found.heading.cjk)) {
        found.titleOffset = next.start;
        found.titleEnd = next.end;
    }
    return true;
}

bool sameHeading(const Found &a, const Found &b)
{
    return a.heading.kind == b.heading.kind && a.heading.number == b.heading.number
        && a.heading.name == b.heading.name;
}

bool hasTitle(const Found &found)
{
    return !found.heading.onlyNumber || found.joined();
}

// The same heading printed twice within a few lines, nothing between, is one entry: the first,
// or the one that carries a title.
void dropRepeats(std::vector<Found> &list)
{
    std::vector<Found> kept;
    for (const Found &found : list) {
        if (kept.empty() || found.line - kept.back().line > kRepeatLines
            || !sameHeading(kept.back(), found))
            kept.push_back(found);
        else if (!hasTitle(kept.back()) && hasTitle(found))
            kept.back() = found;
    }
    list = std::move(kept);
}

void removeDropped(std::vector<Found> &list, const std::vector<bool> &dropped)
{
    std::vector<Found> kept;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!dropped[i])
            kept.push_back(list[i]);
    }
    list = std::move(kept);
}

// The non-blank lines of text after an entry up to the next one, whose count of non-blank lines
// before it is nextNonBlank; its own title line is not text.
qint64 textAfter(const Found &found, qint64 nextNonBlank)
{
    return nextNonBlank - found.nonBlank - 1 - (found.joined() ? 1 : 0);
}

// A book's printed table of contents: a run of headings with almost no text between them that
// lists several of one kind. It goes; but for the headings at its end that run from coarse to
// fine with text after the last, where the book itself begins.
void dropListings(std::vector<Found> &list, qint64 lastNonBlank)
{
    const size_t n = list.size();
    const auto gapAfter = [&](size_t i) {
        return textAfter(list[i], i + 1 < n ? list[i + 1].nonBlank : lastNonBlank);
    };
    std::vector<bool> dropped(n, false);
    for (size_t i = 0; i < n;) {
        size_t j = i;
        std::array<int, 9> kinds {};
        int most = ++kinds[size_t(list[i].heading.kind)];
        while (j + 1 < n && gapAfter(j) <= kListingGap) {
            ++j;
            most = std::max(most, ++kinds[size_t(list[j].heading.kind)]);
        }
        if (most >= kListed) {
            size_t keepFrom = j + 1;
            if (gapAfter(j) > kListingGap) {
                keepFrom = j;
                while (keepFrom > i && rank(list[keepFrom - 1]) < rank(list[keepFrom])
                       && rank(list[keepFrom - 1]) >= 0)
                    --keepFrom;
            }
            std::fill(dropped.begin() + qsizetype(i), dropped.begin() + qsizetype(keepFrom), true);
        }
        i = j + 1;
    }
    removeDropped(list, dropped);
}

// The longest run through the values in order where each goes up by one (by two or three, for a
// heading the text lacks, at a cost), or starts again at one (at a greater cost), as chapters do
// under new parts. Whether each value is on it.
std::vector<bool> longestRun(const std::vector<int> &values)
{
    struct Best
    {
        int score = 0;
        int index = -1;
    };
    QHash<int, Best> ending; // the best run ending in a value
    Best best;
    std::vector<int> before(values.size(), -1);
    for (int k = 0; k < int(values.size()); ++k) {
        const int v = values[size_t(k)];
        Best here {1, -1};
        const auto extend = [&](const Best &from, int cost) {
            if (from.index >= 0 && from.score + 1 - cost > here.score)
                here = {from.score + 1 - cost, from.index};
        };
        extend(ending.value(v - 1), 0);
        extend(ending.value(v - 2), 1);
        extend(ending.value(v - 3), 1);
        if (v <= 1)
            extend(best, 2);
        before[size_t(k)] = here.index;
        if (ending.value(v).score <= here.score)
            ending.insert(v, {here.score, k});
        if (best.score <= here.score)
            best = {here.score, k};
    }
    std::vector<bool> onRun(values.size(), false);
    for (int k = best.index; k >= 0; k = before[size_t(k)])
        onRun[size_t(k)] = true;
    return onRun;
}

// Of the numbered headings of one kind between two coarser ones, a run in sequence is kept over
// the stray hits that break it.
void dropStrays(std::vector<Found> &list)
{
    std::vector<bool> dropped(list.size(), false);
    for (const Kind kind : {Kind::Volume, Kind::Book, Kind::Part, Kind::Act, Kind::Chapter,
                            Kind::Section, Kind::Scene, Kind::Number}) {
        std::vector<size_t> segment;
        const auto settleSegment = [&] {
            if (segment.size() > size_t(kRunLength)) {
                std::vector<int> values;
                for (const size_t i : segment)
                    values.push_back(list[i].heading.number);
                const std::vector<bool> onRun = longestRun(values);
                if (std::count(onRun.begin(), onRun.end(), true) >= kRunLength) {
                    for (size_t k = 0; k < segment.size(); ++k)
                        dropped[segment[k]] = !onRun[k];
                }
            }
            segment.clear();
        };
        for (size_t i = 0; i < list.size(); ++i) {
            if (rank(list[i]) >= 0 && rank(list[i]) < rank(kind))
                settleSegment();
            else if (list[i].heading.kind == kind)
                segment.push_back(i);
        }
        settleSegment();
    }
    removeDropped(list, dropped);
}

std::vector<Found> guarded(std::vector<Found> list, qint64 lastNonBlank)
{
    dropRepeats(list);
    dropListings(list, lastNonBlank);
    dropStrays(list);
    return list;
}

std::vector<Found> merged(const std::vector<Found> &a, const std::vector<Found> &b)
{
    std::vector<Found> all;
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(all),
               [](const Found &x, const Found &y) { return x.line < y.line; });
    return all;
}

template<typename Predicate> qsizetype countOf(const std::vector<Found> &list, Predicate predicate)
{
    return std::count_if(list.begin(), list.end(), predicate);
}

bool isNamed(const Found &found)
{
    return found.heading.kind == Kind::Named;
}

bool isBare(const Found &found)
{
    return found.heading.kind == Kind::Number;
}

bool isKeyworded(const Found &found)
{
    return !isNamed(found) && !isBare(found);
}

// At least two of the rule's own headings, and not so many that they are hits on something
// else than chapters.
template<typename Predicate>
bool plausible(const std::vector<Found> &list, Predicate ofRule, qint64 bodyLines)
{
    return countOf(list, ofRule) >= 2 && qint64(list.size()) * kLinesPerEntry <= bodyLines;
}

// The rules from the safest: headings with keywords (and numbers alone under them where they
// hold only parts coarser than chapters), then numbers alone, then named parts alone.
std::vector<Found> chosenRule(const Scan &scan)
{
    const qint64 body = scan.lastNonBlank - scan.firstNonBlank;
    const auto ruleOf = [&](const std::vector<Found> &list) {
        return guarded(list, scan.lastNonBlank);
    };
    if (!scan.keywordedOverflow) {
        std::vector<Found> keyworded = ruleOf(scan.keyworded);
        if (plausible(keyworded, isKeyworded, body)) {
            const bool coarseOnly =
                countOf(keyworded, [](const Found &f) { return rank(f) >= 2; }) == 0;
            if (coarseOnly && !scan.bareOverflow) {
                std::vector<Found> beneath = ruleOf(merged(scan.keyworded, scan.bare));
                if (plausible(beneath, isBare, body))
                    return beneath;
            }
            return keyworded;
        }
    }
    std::vector<Found> named;
    std::copy_if(scan.keyworded.begin(), scan.keyworded.end(), std::back_inserter(named), isNamed);
    if (!scan.bareOverflow) {
        std::vector<Found> bare = ruleOf(merged(named, scan.bare));
        if (plausible(bare, isBare, body))
            return bare;
    }
    if (!scan.keywordedOverflow) {
        named = ruleOf(named);
        if (plausible(named, isNamed, body))
            return named;
    }
    return {};
}

// Levels follow the ranks the entries have: the coarsest present is level 1. A named part is at
// level 1.
QList<Chapter> entriesOf(const std::vector<Found> &chosen, QByteArrayView text,
                         TextDecoder &decoder)
{
    std::array<bool, 4> present {};
    for (const Found &found : chosen) {
        if (rank(found) >= 0)
            present[size_t(rank(found))] = true;
    }
    std::array<int, 4> levelOf {};
    int level = 0;
    for (size_t r = 0; r < present.size(); ++r) {
        level += present[r] ? 1 : 0;
        levelOf[r] = std::max(level, 1);
    }
    QList<Chapter> entries;
    entries.reserve(qsizetype(chosen.size()));
    QString heading;
    QString title;
    for (const Found &found : chosen) {
        decoder.decode(text.sliced(found.offset, found.end - found.offset), heading);
        Chapter entry {found.offset, found.line, rank(found) < 0 ? 1 : levelOf[size_t(rank(found))],
                       HeadingLine::trimmed(heading).toString()};
        if (found.joined()) {
            decoder.decode(text.sliced(found.titleOffset, found.titleEnd - found.titleOffset),
                           title);
            entry.title = HeadingLine::joined(heading, title, found.heading.cjk);
        }
        entries.append(entry);
    }
    return entries;
}

// Wide books are held as UTF-8.
TextEncoding heldEncoding(TextEncoding encoding)
{
    return TextCodec::isWide(encoding) ? TextEncoding::Utf8 : encoding;
}

} // namespace

namespace ChapterFinder {

QList<Chapter> find(QByteArrayView text, TextEncoding encoding)
{
    encoding = heldEncoding(encoding);
    Scan found = scan(text, encoding);
    const HeadingTriggers &triggers = HeadingTriggers::of(encoding);
    TextDecoder decoder(encoding);
    for (std::vector<Found> *list : {&found.keyworded, &found.bare}) {
        list->erase(std::remove_if(list->begin(), list->end(),
                                   [&](Found &f) { return !settle(f, text, triggers, decoder); }),
                    list->end());
    }
    return entriesOf(chosenRule(found), text, decoder);
}

QList<Chapter> findByPattern(QByteArrayView text, TextEncoding encoding,
                             const QRegularExpression &pattern)
{
    QList<Chapter> entries;
    if (!pattern.isValid())
        return entries;
    TextDecoder decoder(heldEncoding(encoding));
    QString decoded;
    qint64 line = 0;
    const char *begin = text.data();
    LineEnds::forEachLine(begin, begin + text.size(), [&](const char *start, const char *end) {
        decoder.decode(QByteArrayView(start, end), decoded);
        if (pattern.match(decoded).hasMatch())
            entries.append({start - begin, line, 1, HeadingLine::trimmed(decoded).toString()});
        ++line;
        return true;
    });
    return entries;
}

} // namespace ChapterFinder
