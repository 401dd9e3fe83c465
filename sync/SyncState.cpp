#include "sync/SyncState.h"

#include "contacts/ContactFile.h"
#include "system/DurableWrite.h"

#include <charconv>

namespace mirror {
namespace {

constexpr std::string_view kHeader = "Tortavela sync 1\n";
constexpr std::string_view kEnd = "end\n";

// Values hold any byte but these, which separate them; a backslash escapes.
std::string escaped(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

void appendRecord(std::string& out, std::string_view kind,
                  std::initializer_list<std::string_view> values)
{
    out += kind;
    for (std::string_view value : values) {
        out += '\t';
        out += escaped(value);
    }
    out += '\n';
}

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t tab = line.find('\t');
        parts.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return parts;
        line.remove_prefix(tab + 1);
    }
}

std::string dateText(std::chrono::year_month_day date)
{
    return std::to_string(static_cast<int>(date.year())) + "-" +
           std::to_string(static_cast<unsigned>(date.month())) + "-" +
           std::to_string(static_cast<unsigned>(date.day()));
}

std::optional<std::chrono::year_month_day> parseDate(std::string_view text)
{
    int parts[3] = {};
    for (int i = 0; i < 3; ++i) {
        const size_t dash = i < 2 ? text.find('-') : text.size();
        if (dash == std::string_view::npos)
            return std::nullopt;
        const auto [end, error] = std::from_chars(text.data(), text.data() + dash, parts[i]);
        if (error != std::errc() || end != text.data() + dash)
            return std::nullopt;
        text.remove_prefix(std::min(dash + 1, text.size()));
    }
    const std::chrono::year_month_day date{std::chrono::year{parts[0]},
                                           std::chrono::month{static_cast<unsigned>(parts[1])},
                                           std::chrono::day{static_cast<unsigned>(parts[2])}};
    return date.ok() ? std::optional(date) : std::nullopt;
}

} // namespace

std::string serializeState(const SyncState& state)
{
    std::string out(kHeader);
    appendRecord(out, "book",
                 {state.addressBook, state.syncToken, state.ctag,
                  state.lastSync ? dateText(*state.lastSync) : std::string()});
    for (const SyncedPair& pair : state.pairs) {
        appendRecord(out, "card",
                     {pair.uid, pair.href, pair.etag, pair.bookLine, pair.trackedLine,
                      contacts::buildLine(pair.card)});
    }
    appendRecord(out, "calendar", {state.calendar});
    for (const SyncedEvent& event : state.events)
        appendRecord(out, "event", {event.uid, event.href, event.etag, event.content});
    out += kEnd;
    return out;
}

std::optional<SyncState> parseState(std::string_view text)
{
    if (!text.starts_with(kHeader) || !text.ends_with(kEnd))
        return std::nullopt;
    text.remove_prefix(kHeader.size());
    text.remove_suffix(kEnd.size());
    SyncState state;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        if (newline == std::string_view::npos)
            return std::nullopt;
        const std::vector<std::string_view> raw = splitTabs(text.substr(0, newline));
        text.remove_prefix(newline + 1);
        std::vector<std::string> parts;
        for (size_t i = 1; i < raw.size(); ++i) {
            auto value = unescaped(raw[i]);
            if (!value)
                return std::nullopt;
            parts.push_back(std::move(*value));
        }
        const std::string_view kind = raw[0];
        if (kind == "book" && parts.size() == 4) {
            state.addressBook = parts[0];
            state.syncToken = parts[1];
            state.ctag = parts[2];
            if (!parts[3].empty() && !(state.lastSync = parseDate(parts[3])))
                return std::nullopt;
        } else if (kind == "card" && parts.size() == 6) {
            const auto fields = contacts::splitFields(parts[5]);
            if (!fields)
                return std::nullopt;
            SyncedPair pair{parts[0], parts[1], parts[2], parts[3], parts[4], {}};
            for (int i = 0; i < contacts::kFieldCount; ++i)
                pair.card[static_cast<size_t>(i)] = std::string((*fields)[static_cast<size_t>(i)]);
            state.pairs.push_back(std::move(pair));
        } else if (kind == "calendar" && parts.size() == 1) {
            state.calendar = parts[0];
        } else if (kind == "event" && parts.size() == 4) {
            state.events.push_back({parts[0], parts[1], parts[2], parts[3]});
        } else {
            return std::nullopt;
        }
    }
    return state;
}

std::optional<SyncState> readState(const std::filesystem::path& programDir)
{
    const contacts::FileContent file = contacts::readWholeFile(programDir / kStateFileName);
    if (!file.ok())
        return std::nullopt;
    return parseState(file.bytes);
}

bool writeState(const std::filesystem::path& programDir, const SyncState& state)
{
    return sys::replaceFile(programDir / kStateFileName, serializeState(state));
}

void trackReplacement(const std::filesystem::path& programDir, std::string_view from,
                      std::string_view to)
{
    std::optional<SyncState> state = readState(programDir);
    if (!state)
        return;
    // The pair whose line the replaced one is; or, as the store finds a contact whose line the
    // reminder changed meanwhile, the one pair whose line bears its name.
    const auto lineOf = [](const SyncedPair& pair) -> const std::string& {
        return pair.trackedLine.empty() ? pair.bookLine : pair.trackedLine;
    };
    SyncedPair* followed = nullptr;
    for (SyncedPair& pair : state->pairs) {
        if (lineOf(pair) == from)
            followed = &pair;
    }
    if (!followed) {
        const auto name = contacts::nameOf(from);
        for (SyncedPair& pair : state->pairs) {
            if (name && contacts::nameOf(lineOf(pair)) == name) {
                if (followed)
                    return; // several: nobody can tell which
                followed = &pair;
            }
        }
    }
    if (!followed)
        return;
    followed->trackedLine = std::string(to);
    writeState(programDir, *state);
}

} // namespace mirror
