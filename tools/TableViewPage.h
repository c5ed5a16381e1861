#pragma once

// The style and the script of the table's page, which the page's
// Content-Security-Policy allows by their hashes and nothing else. The page
// shows every tileset without the script; the script adds the overview, the
// search and the switch to the changed fields only.
namespace TableViewPage {

extern const char STYLE[];
extern const char SCRIPT[];

} // namespace TableViewPage
