#include "tools/TableView.h"

#include "data/TilesetTable.h"
#include "tools/CodePageTables.h"
#include "tools/ContentHash.h"
#include "tools/DumpNotation.h"
#include "tools/PageEscape.h"
#include "tools/RecordField.h"
#include "tools/RecordText.h"
#include "tools/TableComparison.h"
#include "tools/TableViewPage.h"

#include <algorithm>
#include <array>

namespace {

using TableComparison::FieldChange;

// The changes of one tileset, by field; null where the field is the same.
struct TilesetChanges {
    const FieldChange* name = nullptr;
    const FieldChange* ambient = nullptr;
    std::array<const FieldChange*, SLOTS_PER_TILESET> slots{};
    bool any = false;
};

std::vector<TilesetChanges> ChangesByTileset(const std::vector<FieldChange>& changes, int count)
{
    std::vector<TilesetChanges> byTileset(static_cast<std::size_t>(count));
    for (const FieldChange& change : changes) {
        TilesetChanges& tileset = byTileset[static_cast<std::size_t>(change.tileset)];
        tileset.any = true;
        if (change.slot == RecordField::NAME) {
            tileset.name = &change;
        } else if (change.slot == RecordField::AMBIENT) {
            tileset.ambient = &change;
        } else {
            tileset.slots[static_cast<std::size_t>(change.slot)] = &change;
        }
    }
    return byTileset;
}

// A text as the dump shows it, in its quotes.
std::string Quoted(const std::string& bytes, const CodePageTable* page)
{
    std::string shown;
    DumpNotation::AppendText(bytes.data(), bytes.size(), page, shown);
    return shown;
}

// What the search looks through: the text as shown, without its quotes.
void AppendJsonText(const std::string& bytes, const CodePageTable* page, std::string& out)
{
    const std::string quoted = Quoted(bytes, page);
    PageEscape::AppendJson(std::string_view(quoted).substr(1, quoted.size() - 2), out);
}

std::string HashSource(const char* text)
{
    return "'sha256-" + ContentHash::Base64(ContentHash::Sha256(text)) + "'";
}

void AppendShown(const std::string& bytes, std::string& out)
{
    PageEscape::AppendText(PageEscape::Shown(bytes), out);
}

void AppendHead(const TableViewSource& source, std::string& out)
{
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src ";
    out += HashSource(TableViewPage::SCRIPT) + "; style-src " + HashSource(TableViewPage::STYLE);
    out += "; img-src data:; base-uri 'none'; form-action 'none'\">\n"
           "<meta name=\"viewport\" content=\"width=device-width\">\n<title>";
    AppendShown(source.name, out);
    if (source.base != nullptr) {
        out += " against ";
        AppendShown(source.baseName, out);
    }
    out += "</title>\n<link rel=\"icon\" href=\"data:,\">\n<style>";
    out += TableViewPage::STYLE;
    out += "</style>\n<script>";
    out += TableViewPage::SCRIPT;
    out += "</script>\n</head>\n";
}

std::string Counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void AppendComparison(const TableViewSource& source, std::size_t changeCount, std::string& out)
{
    const int count = source.table.RecordCount();
    const int baseCount = source.base->RecordCount();
    if (count != baseCount) {
        out += "<p class=\"count\">The tileset count differs: ";
        AppendShown(source.baseName, out);
        out += " has " + std::to_string(baseCount) + ", this table " + std::to_string(count) +
               "; a tileset only one of them has is compared with an empty one.</p>\n";
    }
    out += "<p id=\"changes\">" + Counted(changeCount, "field differs", "fields differ") + " from ";
    AppendShown(source.baseName, out);
    out += ", each with the value it had there. <label id=\"switch\" hidden><input type=\"checkbox\" "
           "id=\"only\"> show only what changed</label></p>\n";
}

void AppendHeader(const TableViewSource& source, std::size_t changeCount, std::string& out)
{
    out += "<body>\n<header>\n<h1>";
    AppendShown(source.name, out);
    out += "</h1>\n<p>" + Counted(static_cast<std::size_t>(source.table.RecordCount()), "tileset", "tilesets") +
           " of 151 slots; ";
    out += source.page != nullptr ? "texts in code page " + std::to_string(source.page->number)
                                  : std::string("texts as the dump writes them, each byte outside printable ASCII "
                                                "as \\xNN");
    out += ".</p>\n";
    if (!source.problems.empty()) {
        out += "<p>The file has problems, as check reports them:</p>\n<ul class=\"problems\">\n";
        for (const std::string& problem : source.problems) {
            out += "<li>";
            AppendShown(problem, out);
            out += "</li>\n";
        }
        out += "</ul>\n";
    }
    if (source.base != nullptr) {
        AppendComparison(source, changeCount, out);
    }
    out += "<p id=\"legend\" hidden>Slots:<i class=\"f\"></i> a text<i class=\"e\"></i> empty";
    out += source.base != nullptr ? "<i class=\"c\"></i> changed" : "";
    out += "<i class=\"m\"></i> found</p>\n<p id=\"find\" hidden><input id=\"q\" type=\"search\" placeholder=\"Find "
           "in names and slots\" "
           "aria-label=\"Find in names and slots\" autocomplete=\"off\"> <span id=\"found\"></span></p>\n"
           "</header>\n<div id=\"overview\"></div>\n<div id=\"side\">\n<ol id=\"results\"></ol>\n<main>\n";
}

// A changed field carries its label as diff names it, and its old value.
void AppendChangeMark(const FieldChange* change, std::string& out)
{
    if (change != nullptr) {
        out += " class=\"c\" data-field=\"";
        PageEscape::AppendAttribute(change->label, out);
        out += "\"";
    }
}

void AppendWas(const FieldChange* change, std::string& out)
{
    if (change != nullptr) {
        out += "<del>";
        PageEscape::AppendText(change->before, out);
        out += "</del>";
    }
}

void AppendHeadingField(const char* kind, const std::string& value, const FieldChange* change, std::string& out)
{
    out += "<span";
    AppendChangeMark(change, out);
    out += "><span class=\"v ";
    out += kind;
    out += "\">";
    PageEscape::AppendText(value, out);
    out += "</span>";
    if (change != nullptr) {
        out += " ";
        AppendWas(change, out);
    }
    out += "</span>";
}

// Every slot that holds a text or has changed, one line each: a changed one
// in an element with its old value. Lines of text parse several times as fast
// as a table's rows, which at 38,505 slots took most of the page's load.
void AppendSlots(const TilesetRecord& record, const TilesetChanges& changes, const CodePageTable* page,
                 std::string& out)
{
    bool any = false;
    for (int k = 0; k < SLOTS_PER_TILESET; ++k) {
        const std::string text = RecordText::Slot(record, k);
        const FieldChange* const change = changes.slots[static_cast<std::size_t>(k)];
        if (text.empty() && change == nullptr) {
            continue;
        }
        out += any ? "\n" : "<pre>";
        any = true;
        const std::string number = std::to_string(k);
        const std::string line = std::string(3 - number.size(), ' ') + number + " ";
        if (change != nullptr) {
            out += "<span";
            AppendChangeMark(change, out);
            out += ">" + line + "<span class=\"v\">";
            PageEscape::AppendText(Quoted(text, page), out);
            out += "</span> ";
            AppendWas(change, out);
            out += "</span>";
        } else {
            out += line;
            PageEscape::AppendText(Quoted(text, page), out);
        }
    }
    out += any ? "</pre>\n" : "<p class=\"none\">Every slot is empty.</p>\n";
}

void AppendSection(int i, const TilesetRecord& record, const TilesetChanges& changes, bool gone,
                   const TableViewSource& source, std::string& out)
{
    const std::string index = std::to_string(i);
    out += "<section id=\"t" + index + "\" data-tileset=\"" + index + "\"";
    out += changes.any ? " class=\"c\">" : ">";
    out += "<h2>tileset " + index + " ";
    AppendHeadingField("name", Quoted(RecordText::Name(record), source.page), changes.name, out);
    out += " ambient ";
    AppendHeadingField("ambient", std::to_string(record.ambient), changes.ambient, out);
    if (gone) {
        out += " <em>only in ";
        AppendShown(source.baseName, out);
        out += "</em>";
    }
    out += "</h2>\n";
    AppendSlots(record, changes, source.page, out);
    out += "</section>\n";
}

void AppendChangeData(const TilesetChanges& changes, std::string& out)
{
    std::vector<const FieldChange*> all = {changes.name, changes.ambient};
    all.insert(all.end(), changes.slots.begin(), changes.slots.end());
    out += ",\"was\":{";
    bool first = true;
    for (const FieldChange* change : all) {
        if (change != nullptr) {
            out += first ? "" : ",";
            first = false;
            PageEscape::AppendJson(change->label, out);
            out += ":";
            PageEscape::AppendJson(change->before, out);
        }
    }
    out += "}";
}

// One object a tileset: its name and slot texts without quotes, as the
// search looks through them, and the old values of its changed fields.
void AppendTilesetData(const TilesetRecord& record, const TilesetChanges& changes, bool gone,
                       const CodePageTable* page, std::string& out)
{
    out += "{\"name\":";
    AppendJsonText(RecordText::Name(record), page, out);
    out += ",\"ambient\":" + std::to_string(record.ambient) + ",\"slots\":[";
    for (int k = 0; k < SLOTS_PER_TILESET; ++k) {
        out += k == 0 ? "" : ",";
        AppendJsonText(RecordText::Slot(record, k), page, out);
    }
    out += "]";
    if (changes.any) {
        AppendChangeData(changes, out);
    }
    out += gone ? ",\"gone\":true}" : "}";
}

} // namespace

std::string TableView::Page(const TableViewSource& source)
{
    const TilesetTable& table = source.table;
    const int shown = std::max(table.RecordCount(), source.base != nullptr ? source.base->RecordCount() : 0);
    const std::vector<FieldChange> changes = source.base != nullptr
                                                 ? TableComparison::Changes(*source.base, table, source.page)
                                                 : std::vector<FieldChange>{};
    const std::vector<TilesetChanges> byTileset = ChangesByTileset(changes, shown);
    const TilesetRecord empty{};
    std::string page;
    AppendHead(source, page);
    AppendHeader(source, changes.size(), page);
    std::string data = "{\"tilesets\":[";
    for (int i = 0; i < shown; ++i) {
        const bool gone = i >= table.RecordCount();
        const TilesetRecord& record = gone ? empty : table.RecordAt(i);
        const TilesetChanges& tilesetChanges = byTileset[static_cast<std::size_t>(i)];
        AppendSection(i, record, tilesetChanges, gone, source, page);
        data += i == 0 ? "" : ",\n";
        AppendTilesetData(record, tilesetChanges, gone, source.page, data);
    }
    page += "</main>\n</div>\n<script type=\"application/json\" id=\"data\">";
    page += data;
    page += "]}</script>\n</body>\n</html>\n";
    return page;
}
