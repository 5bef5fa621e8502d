#pragma once

class QMainWindow;

// Makes a window's menus reachable from the keyboard without mnemonics, so that their
// captions stay as they are: F10 opens the first menu, a lone Alt highlights the menu bar;
// the arrow keys then move between the menus and through them, Escape leaves.
void OvReachMenusFromKeyboard(QMainWindow* window);
