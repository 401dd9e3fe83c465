#include "exchange/Transliteration.h"

#include "contacts/Record.h"
#include "contacts/Windows1252.h"
#include "exchange/AsciiText.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>
#include <unordered_map>

namespace exchange {
namespace {

constexpr char32_t kTerminator = U'\u00A7';        // §, which ends a field of the file
constexpr char32_t kTerminatorStandIn = U'\u00B6'; // ¶

bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\t';
}

bool allStorable(std::string_view utf8)
{
    while (!utf8.empty()) {
        // Most values are ASCII: passed over in place.
        if (const char ascii = utf8.front(); (ascii >= 0x20 && ascii < 0x7F) || ascii == '\t') {
            utf8.remove_prefix(1);
            continue;
        }
        size_t length = 1;
        const std::optional<char32_t> c = contacts::decodeUtf8(utf8, length);
        if (!c || !contacts::isStorableCharacter(*c))
            return false;
        utf8.remove_prefix(length);
    }
    return true;
}

// What ICU's transliteration is asked for: a character the file cannot hold that none of the
// other rules (line breaks, "§", control characters) covers.
bool needsLatinForm(char32_t c)
{
    return !contacts::codePointToWindows1252(c) && !contacts::isLineBreak(c) &&
           u_charType(static_cast<UChar32>(c)) != U_CONTROL_CHAR;
}

// A Chinese character is a run of its own: its reading hardly depends on its neighbours, and
// ICU takes some 30 microseconds for each one in a run, against a few for other scripts, while
// a character once read is remembered.
bool isHan(char32_t c)
{
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(static_cast<UChar32>(c), &status) == USCRIPT_HAN;
}

// Any-Latin, then Latin-ASCII: making the chain takes tens of milliseconds, so the process
// keeps one. ICU does not promise that one transliterator may serve two threads at once (a
// sync may run on a thread of its own), hence the lock. Short runs are remembered, as names
// and words repeat: a call to ICU costs about a microsecond before its first character.
class LatinForm {
public:
    static icu::UnicodeString of(const icu::UnicodeString& run)
    {
        static LatinForm form;
        const std::lock_guard lock(form.m_mutex);
        return form.latin(run);
    }

private:
    static constexpr int32_t kLongestRemembered = 32;     // UTF-16 units
    static constexpr std::size_t kMostRemembered = 8'192; // a few hundred KiB at most

    LatinForm()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_transliterator.reset(icu::Transliterator::createInstance(
            icu::UnicodeString::fromUTF8("Any-Latin; Latin-ASCII"), UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            m_transliterator.reset(); // without ICU's data, such runs are left out
    }

    icu::UnicodeString latin(const icu::UnicodeString& run)
    {
        if (!m_transliterator)
            return run;
        const bool remembered = run.length() <= kLongestRemembered;
        std::u16string key;
        if (remembered) {
            key.assign(run.getBuffer(), static_cast<std::size_t>(run.length()));
            if (const auto found = m_runs.find(key); found != m_runs.end())
                return found->second;
        }
        icu::UnicodeString latin = run;
        m_transliterator->transliterate(latin);
        if (remembered) {
            if (m_runs.size() == kMostRemembered)
                m_runs.clear();
            m_runs.emplace(std::move(key), latin);
        }
        return latin;
    }

    std::mutex m_mutex;
    std::unique_ptr<icu::Transliterator> m_transliterator;
    std::unordered_map<std::u16string, icu::UnicodeString> m_runs;
};

// Whether a run is written in a script without capitals (Chinese, Arabic...): its Latin form
// is then all small letters.
bool isCaseless(const icu::UnicodeString& run)
{
    bool letters = false;
    for (int32_t i = 0; i < run.length(); i = run.moveIndex32(i, 1)) {
        const UChar32 c = run.char32At(i);
        if (u_hasBinaryProperty(c, UCHAR_CASED))
            return false;
        letters = letters || u_isalpha(c);
    }
    return letters;
}

// "li xiao long" → "Li Xiao Long"; "xi'an" stays one word.
void capitalizeWords(std::string& ascii)
{
    bool wordStart = true;
    for (char& c : ascii) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (wordStart && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        wordStart = !letter && c != '\'';
    }
}

bool isAlphanumeric(char32_t c)
{
    return u_isalnum(static_cast<UChar32>(c)) != 0;
}

// The storable text as it is built, with the blanks that line breaks and left-out characters
// leave.
class StorableBuilder {
public:
    explicit StorableBuilder(bool oneLine) : m_oneLine(oneLine) {}

    void append(char32_t c)
    {
        if (isBlank(c) && m_afterLeftOut && endsInBlankOrEmpty())
            return; // the blank on the other side of something left out
        if (!isBlank(c)) {
            if (m_breakPending && !endsInBlankOrEmpty())
                m_text.push_back(' ');
            if (m_apartFromNext && isAlphanumeric(c) && !endsInBlankOrEmpty())
                m_text.push_back(' ');
            m_afterLeftOut = false;
        }
        m_breakPending = false;
        m_apartFromNext = false;
        contacts::appendUtf8(m_text, c);
        m_last = c;
    }

    void lineBreak()
    {
        if (m_oneLine)
            m_breakPending = true;
        else
            append(U' ');
    }

    // The Latin form of a run of characters the file cannot hold; `apart`: kept apart by
    // blanks from the letters and digits beside it.
    void appendLatin(const icu::UnicodeString& latin, bool apart)
    {
        bool any = false;
        for (int32_t i = 0; i < latin.length(); i = latin.moveIndex32(i, 1)) {
            const auto c = static_cast<char32_t>(latin.char32At(i));
            if (!contacts::isStorableCharacter(c))
                continue; // no Latin form: left out
            if (!any && apart && isAlphanumeric(c) && isAlphanumeric(m_last))
                m_apartFromNext = true;
            append(c);
            any = true;
        }
        if (!any) {
            m_afterLeftOut = true;
            return;
        }
        m_apartFromNext = apart && isAlphanumeric(m_last);
    }

    std::string finish()
    {
        if (m_afterLeftOut) {
            while (!m_text.empty() && isBlank(static_cast<unsigned char>(m_text.back())))
                m_text.pop_back();
        }
        return std::move(m_text);
    }

private:
    bool endsInBlankOrEmpty() const
    {
        return m_text.empty() || isBlank(static_cast<unsigned char>(m_text.back()));
    }

    bool m_oneLine;
    std::string m_text;
    char32_t m_last = U' ';
    bool m_breakPending = false;  // a value of one line had a line break here
    bool m_afterLeftOut = false;  // the last thing met was left out, and blanks since
    bool m_apartFromNext = false; // a letter or digit next needs a blank before it
};

// The value's characters, composed as Unicode's NFC composes them. A value whose every
// character Windows-1252 has (its line breaks and control characters too) is composed already,
// since Windows-1252 has no combining mark: ICU is not asked.
std::u32string composedCharacters(std::string_view utf8)
{
    std::u32string characters;
    characters.reserve(utf8.size());
    for (std::string_view rest = utf8; !rest.empty();) {
        size_t length = 1;
        const std::optional<char32_t> c = contacts::decodeUtf8(rest, length);
        if (!c || needsLatinForm(*c)) {
            characters.clear();
            break;
        }
        characters.push_back(*c);
        rest.remove_prefix(length);
    }
    if (!characters.empty() || utf8.empty())
        return characters;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* composed = icu::Normalizer2::getNFCInstance(status);
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    if (U_SUCCESS(status))
        text = composed->normalize(text, status);
    characters.resize(static_cast<std::size_t>(text.countChar32()));
    status = U_ZERO_ERROR;
    text.toUTF32(reinterpret_cast<UChar32*>(characters.data()),
                 static_cast<int32_t>(characters.size()), status);
    return characters;
}

} // namespace

std::optional<StorableText> storableText(std::string_view utf8, bool oneLine)
{
    if (allStorable(utf8))
        return StorableText{std::string(utf8), false};

    const std::u32string text = composedCharacters(utf8);
    StorableBuilder built(oneLine);
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = text[i];
        if (!needsLatinForm(c)) {
            if (contacts::isLineBreak(c)) {
                built.lineBreak();
                if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                    ++i;
            } else if (contacts::isStorableCharacter(c)) {
                built.append(c);
            } else if (c == kTerminator) {
                built.append(kTerminatorStandIn);
            } else {
                built.lineBreak(); // a control character: a blank, as a line break
            }
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (!isHan(c) && end < text.size() && needsLatinForm(text[end]) && !isHan(text[end]))
            ++end;
        const icu::UnicodeString run = icu::UnicodeString::fromUTF32(
            reinterpret_cast<const UChar32*>(text.data() + i), static_cast<int32_t>(end - i));
        const bool caseless = isCaseless(run);
        icu::UnicodeString latin = LatinForm::of(run);
        if (caseless) {
            std::string ascii;
            latin.toUTF8String(ascii);
            capitalizeWords(ascii);
            latin = icu::UnicodeString::fromUTF8(ascii);
        }
        built.appendLatin(latin, caseless);
        i = end;
    }

    StorableText result;
    result.text = built.finish();
    if (!trimBlanks(utf8).empty() && trimBlanks(result.text).empty())
        return std::nullopt;
    std::string composedText;
    for (const char32_t c : text)
        contacts::appendUtf8(composedText, c);
    result.changed = result.text != composedText;
    return result;
}

} // namespace exchange
