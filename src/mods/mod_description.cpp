#include "mods/mod_description.h"

#include "gamefiles/text_encoding.h"

namespace tovarin {

namespace {

std::string Side(const std::string& text) { return text.empty() ? "(not set)" : text; }

// A table cell: a "|" would end it, a line break the row.
std::string MarkdownCell(const std::string& text) {
    std::string cell;
    for (const char c : ShownText(text)) {
        if (c == '|') {
            cell += "\\|";
        } else if (c == '\r' || c == '\n') {
            cell += ' ';
        } else {
            cell += c;
        }
    }
    return cell;
}

}  // namespace

std::vector<ValueChange> ChangedValues(const Cells& before, const Cells& after, bool dropped) {
    std::map<CellAddress, ValueChange> changes;
    for (const auto& [address, text] : after) {
        const auto found = before.find(address);
        const std::string was = found == before.end() ? "" : found->second;
        if (was != text) changes.emplace(address, ValueChange{address, was, text});
    }
    if (dropped) {
        for (const auto& [address, text] : before) {
            if (!after.contains(address)) changes.emplace(address, ValueChange{address, text, ""});
        }
    }
    std::vector<ValueChange> listed;
    for (auto& [address, change] : changes) listed.push_back(std::move(change));
    return listed;
}

std::string ChangeLine(const ValueChange& change) {
    return change.Address.Name() + " " + Side(change.Before) + " -> " + Side(change.After);
}

std::string ModPageMarkdown(const ModInfo& info, const std::vector<ValueChange>& changes) {
    std::string page = "# " + MarkdownCell(info.Name) + (info.Version.empty() ? "" : " " + MarkdownCell(info.Version));
    page += "\n\n";
    if (!info.Author.empty()) page += "By " + MarkdownCell(info.Author) + ".\n\n";
    if (!info.Game.empty()) page += "For " + MarkdownCell(info.Game) + ".\n\n";
    if (!info.Description.empty()) page += MarkdownCell(info.Description) + "\n\n";
    if (changes.empty()) return page + "It changes nothing.\n";
    const char* headings[] = {"Ships", "Guns", "Missiles"};
    const char* items[] = {"Ship", "Gun", "Missile"};
    for (const SheetKind kind : {SheetKind::Ships, SheetKind::Guns, SheetKind::Missiles}) {
        const int k = static_cast<int>(kind);
        bool any = false;
        for (const ValueChange& change : changes) {
            if (change.Address.Kind != kind) continue;
            if (!any) {
                page += std::string("## ") + headings[k] + "\n\n| " + items[k] + " | Value | Original | Mod |\n" +
                        "| --- | --- | ---: | ---: |\n";
                any = true;
            }
            page += "| " + MarkdownCell(change.Address.ItemName) + " | " + MarkdownCell(change.Address.KeyName) +
                    " | " + MarkdownCell(Side(change.Before)) + " | " + MarkdownCell(Side(change.After)) + " |\n";
        }
        if (any) page += "\n";
    }
    return page;
}

}  // namespace tovarin
