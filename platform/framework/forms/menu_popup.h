// The framework's plain popup menu: a borderless top-level window listing a menu item's sub-items
// (sub-menus open to the side), tracked in a nested message loop until an item is chosen or the
// menu is dismissed (Escape, a click elsewhere). Used by TPopupMenu::Popup when no skinned menu
// takes over.
#pragma once

class TMenuItem;

// Shows Parent's sub-items at the screen point; returns the item chosen, nullptr when dismissed.
TMenuItem* TrackPlainPopup(TMenuItem* Parent, int X, int Y);
