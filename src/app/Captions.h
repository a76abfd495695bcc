#pragma once

class QWidget;
class StringTable;

// Replaces the string ids a window carries by their texts, when the window loads:
// the window's and its labels' "Tag" property, a menu item's caption, each tab's Tag and tooltip,
// a toolbar button's tooltip, and for other controls their Tag and a tooltip that starts with an
// id. A control whose id is not a number, or not in the table, keeps its text. Every control
// takes the window's font.
void LoadResourceCaptions(QWidget *window);
void LoadResourceCaptions(QWidget *window, const StringTable &table);
