#include "files/RtfControlWords.h"

#include <algorithm>
#include <unordered_map>

namespace {

using Table = std::unordered_map<std::string_view, RtfWordMeaning>;

// Groups whose text is never shown: tables, document information, pictures and objects,
// headers, footers and notes, field instructions (their result is shown), index and contents
// entries, bookmarks.
constexpr std::string_view kDestinations =
    "fonttbl colortbl stylesheet info pict object header headerl headerr headerf footer footerl "
    "footerr footerf footnote annotation atnid atnauthor atrfstart atrfend comment fldinst "
    "listtable listoverridetable revtbl rsidtbl filetbl themedata colorschememapping "
    "latentstyles datastore xmlnstbl generator objdata datafield nonshppict shpinst private "
    "userprops docvar template xe tc txe bkmkstart bkmkend falt panose fname mmathPr pgdsctbl "
    "blipuid passwordhash";

constexpr std::string_view kLineBreaks = "par line sect row nestrow page";

void AddAll(Table& table, std::string_view words, RtfWordRole role) {
    while (!words.empty()) {
        const size_t space = std::min(words.find(' '), words.size());
        table.emplace(words.substr(0, space), RtfWordMeaning{role, 0});
        words.remove_prefix(std::min(space + 1, words.size()));
    }
}

Table BuildTable() {
    Table table;
    AddAll(table, kDestinations, RtfWordRole::Destination);
    AddAll(table, kLineBreaks, RtfWordRole::LineBreak);
    const std::pair<std::string_view, char16_t> characters[] = {
        {"tab", u'\t'},           {"cell", u'\t'},        {"nestcell", u'\t'},
        {"emdash", u'\u2014'},    {"endash", u'\u2013'},  {"emspace", u'\u2003'},
        {"enspace", u'\u2002'},   {"qmspace", u'\u2005'}, {"bullet", u'\u2022'},
        {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
        {"rdblquote", u'\u201D'}, {"zwj", u'\u200D'},     {"zwnj", u'\u200C'},
        {"ltrmark", u'\u200E'},   {"rtlmark", u'\u200F'}, {"zwbo", u'\u200B'},
    };
    for (const auto& [word, character] : characters)
        table.emplace(word, RtfWordMeaning{RtfWordRole::Character, character});
    table.emplace("u", RtfWordMeaning{RtfWordRole::UnicodeChar, 0});
    table.emplace("uc", RtfWordMeaning{RtfWordRole::FallbackLength, 0});
    table.emplace("ansicpg", RtfWordMeaning{RtfWordRole::CodePage, 0});
    table.emplace("bin", RtfWordMeaning{RtfWordRole::Binary, 0});
    return table;
}

} // namespace

RtfWordMeaning LookUpRtfWord(std::string_view word) {
    static const Table table = BuildTable();
    const auto found = table.find(word);
    return found == table.end() ? RtfWordMeaning{} : found->second;
}
