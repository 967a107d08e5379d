#include "update/UpdateHighlight.h"

#include "update/TextFormat.h"

#include <optional>

namespace UpdateHighlight
{
namespace
{
constexpr Style Bold(unsigned long colour) { return {true, false, false, false, colour}; }
constexpr Style BoldItalic(unsigned long colour) { return {true, true, false, false, colour}; }
constexpr Style Italic(unsigned long colour) { return {false, true, false, false, colour}; }
constexpr Style ColourOnly(unsigned long colour) { return {false, false, false, true, colour}; }

constexpr unsigned long kRed = Rgb(220, 0, 0);
constexpr unsigned long kGreen = Rgb(0, 160, 0);
constexpr unsigned long kOrange = Rgb(255, 153, 0);
constexpr unsigned long kNavy = Rgb(0, 0, 128);

wchar_t Folded(wchar_t c) noexcept
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

using Position = std::optional<int>;

// Finds anchors in the text and collects the spans between them.
class CSpanFinder
{
public:
    explicit CSpanFinder(std::wstring_view text) : m_text(text) {}

    // The first character of the first `what` at or after `from`.
    Position Start(std::wstring_view what, Position from = 0, bool matchCase = false) const
    {
        if (!from)
            return std::nullopt;
        for (std::size_t at = static_cast<std::size_t>(*from); at + what.size() <= m_text.size(); ++at)
        {
            if (Matches(at, what, matchCase))
                return static_cast<int>(at);
        }
        return std::nullopt;
    }
    // Just after that `what`.
    Position End(std::wstring_view what, Position from = 0, bool matchCase = false) const
    {
        return Plus(Start(what, from, matchCase), static_cast<int>(what.size()));
    }

    static Position Plus(Position p, int offset) { return p ? Position(*p + offset) : std::nullopt; }
    int Length() const noexcept { return static_cast<int>(m_text.size()); }

    // Adds the span when both ends were found and it is not empty.
    void Add(Position start, Position end, const Style& style)
    {
        if (start && end && *start < *end)
            m_spans.push_back({*start, *end, style});
    }
    // A span from an anchor to the next `closing` after it.
    Position AddTo(Position start, std::wstring_view closing, int endOffset, const Style& style,
                   bool matchCase = false)
    {
        const Position end = Plus(Start(closing, start, matchCase), endOffset);
        Add(start, end, style);
        return end;
    }
    // The whole first `what` at or after `from`.
    void AddWord(std::wstring_view what, Position from, const Style& style)
    {
        const Position start = Start(what, from);
        Add(start, Plus(start, static_cast<int>(what.size())), style);
    }

    std::vector<Span> TakeSpans() { return std::move(m_spans); }

private:
    bool Matches(std::size_t at, std::wstring_view what, bool matchCase) const noexcept
    {
        for (std::size_t i = 0; i < what.size(); ++i)
        {
            const wchar_t a = m_text[at + i];
            const wchar_t b = what[i];
            if (matchCase ? a != b : Folded(a) != Folded(b))
                return false;
        }
        return true;
    }

    std::wstring_view m_text;
    std::vector<Span> m_spans;
};

// Modes 0 and 2: product, description, running version, the comparing
// phrase, published version, creation date and the closing sentence.
void RunningNewerOrSame(CSpanFinder& f, bool same)
{
    const std::wstring_view phrase = same ? L"which is the same as " : L"which is newer than ";
    const Position product = f.End(L"using");
    const Position paren = f.Start(L"(", product);
    f.Add(product, paren, Bold(kRed));
    f.AddTo(CSpanFinder::Plus(paren, 1), L"), Version", 0, Italic(Rgb(151, 92, 26)));
    f.AddTo(CSpanFinder::Plus(f.End(L"), Version"), 1), phrase, 0, BoldItalic(kGreen));

    const Position phraseStart = f.Start(phrase);
    const Position phraseEnd = CSpanFinder::Plus(phraseStart, static_cast<int>(phrase.size()));
    f.Add(phraseStart, phraseEnd, {!same, true, true, false, Rgb(160, 119, 97)});

    Position last;
    const Position created = f.Start(L", created on ", phraseEnd);
    if (created)
    {
        f.Add(phraseEnd, CSpanFinder::Plus(created, -1), Bold(kRed));
        last = f.AddTo(f.End(L", created on ", created), L" identified", same ? 0 : -1, Bold(Rgb(0, 0, 255)));
    }
    else
    {
        last = f.AddTo(phraseEnd, same ? L" identified " : L" identified", 0, Bold(kRed));
    }
    const std::wstring_view closing = same ? L"There is no need to take any action."
                                           : L"Please contact Halvanworks indicating how you obtained your "
                                             L"version of the software.";
    f.AddWord(closing, last, same ? BoldItalic(Rgb(255, 0, 0)) : Bold(Rgb(255, 0, 0)));
}

void NewerPublished(CSpanFinder& f)
{
    f.AddTo(f.End(L"version of "), L" available", 0, BoldItalic(kRed));
    const Position runningStart = f.End(L"using ");
    f.AddTo(runningStart, L" Version", 0, BoldItalic(kRed), true);
    // One past that " Version": the blank before the number is left out.
    const Position running = CSpanFinder::Plus(f.End(L" Version", runningStart, true), 1);
    const Position andWord = f.Start(L" and ", running);
    f.Add(running, andWord, Bold(kRed));
    f.AddTo(f.End(L"Version ", andWord, true), L" is ", 0, Bold(kRed));
    if (const Position createdEnd = f.End(L"created on ", andWord))
        f.AddTo(createdEnd, L".", 0, Bold(kRed));

    const Position mayUpdate = f.Start(L"You may update ");
    f.Add(mayUpdate, f.Length() - 1, Bold(kGreen));
    const Position now = f.AddTo(f.End(L"You may update "), L" now", 0, Bold(kRed));
    f.AddWord(L"update", 0, BoldItalic(kNavy));
    for (const std::wstring_view word : {L"download", L"Halvanworks website", L"continue"})
        f.AddWord(word, now ? now : f.Start(L" now"), Bold(kOrange));
}

void PublisherNotice(CSpanFinder& f)
{
    const Position paren = f.AddTo(f.End(L"of"), L"(", 0, Bold(kRed));
    f.AddTo(CSpanFinder::Plus(paren, 1), L")", 0, Bold(kGreen));
    f.Add(f.End(L"website is "), f.Length(), BoldItalic(kOrange));
}

void NotObtained(CSpanFinder& f)
{
    f.AddTo(f.End(L"for:"), L"Using:", 0, Bold(kRed));
    f.Add(CSpanFinder::Plus(f.End(L"Using:"), 1), f.Length(), Bold(kGreen));
}
} // namespace

std::wstring ControlText(std::wstring_view text)
{
    std::wstring control;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            ++i;
        control += text[i] == L'\n' ? L'\r' : text[i];
    }
    return control;
}

Formatting ForMessage(UpdateMode mode, std::wstring_view controlText)
{
    CSpanFinder finder(controlText);
    Formatting formatting;
    switch (mode)
    {
    case UpdateMode::RunningNewer:
        RunningNewerOrSame(finder, false);
        break;
    case UpdateMode::NewerPublished:
        NewerPublished(finder);
        break;
    case UpdateMode::Same:
        formatting.heightTwips = 240;
        RunningNewerOrSame(finder, true);
        break;
    case UpdateMode::PublisherNotice:
        formatting.heightTwips = 220;
        PublisherNotice(finder);
        break;
    case UpdateMode::NotObtained:
        NotObtained(finder);
        break;
    }
    formatting.spans = finder.TakeSpans();
    return formatting;
}

std::wstring DownloadedMessage(const std::wstring& setupFileName, const std::wstring& downloadFolder)
{
    return FillFormat(L"%s has been downloaded to: %s\r\nYou may install the update now, open the folder containing "
                      L"the update now, or update later.",
                      {setupFileName, downloadFolder});
}

Formatting ForDownloaded(std::wstring_view controlText)
{
    CSpanFinder f(controlText);
    f.Add(0, CSpanFinder::Plus(f.Start(L"has"), -1), Bold(kGreen));
    f.Add(CSpanFinder::Plus(f.End(L"to:"), 1), CSpanFinder::Plus(f.Start(L"You may"), -1),
          {false, true, true, false, kNavy});
    f.AddWord(L"install", 0, ColourOnly(Rgb(160, 0, 0)));
    f.AddWord(L"open", 0, ColourOnly(Rgb(160, 0, 0)));
    f.AddWord(L"folder", 0, ColourOnly(kOrange));
    f.AddWord(L"update later", 0, ColourOnly(Rgb(160, 0, 0)));
    return {220, Rgb(0, 0, 220), f.TakeSpans()};
}
} // namespace UpdateHighlight
