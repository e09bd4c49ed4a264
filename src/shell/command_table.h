#pragma once

// The desktop application's commands as data: every command number with its
// name, its status-bar prompt, its tooltip and the part of the program that
// serves it; the two menu bars (128 while no document window is open, 129
// while one is active); accelerator table 128, which serves in both states;
// the buttons of toolbar 128; and the mouse's side buttons. The frames build their actions, menus,
// shortcuts and toolbar from these tables and grey every command that nobody
// serves, so the texts here are exactly those the user sees.

#include "page/page_pointer.h"

#include <span>
#include <string_view>

namespace stirpex {

// Separators of the toolbar and entries of the status bar's indicator list.
inline constexpr int ID_SEPARATOR = 0;

// The page's own commands and the framework ones the page serves come from
// page/page_pointer.h; these are the rest.
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_FILE_MRU_FILE16 = 57631;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_WINDOW_NEW = 57648;
inline constexpr int ID_WINDOW_ARRANGE = 57649;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE_HORZ = 57651;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// Where a command is handled. A command is enabled only while its server is
// in the active route: the application and the main frame always are, the
// document and the view only while a document window is active. Nobody's
// commands are always greyed (their keys do nothing).
enum class CommandServer { Application, Document, View, MainFrame, Nobody };

struct CommandInfo {
    int id = 0;
    std::string_view name;    // e.g. "ID_FILE_OPEN"
    std::string_view prompt;  // status-bar text while the item or button is under the pointer; may be empty
    std::string_view tooltip; // empty where the command has none
    CommandServer server = CommandServer::Nobody;
};

enum class MenuItemKind {
    Command,
    Separator,
    RecentFiles, // placeholder replaced by the recent-file list (greyed "Recent File" while it is empty)
    WindowList,  // place where the open document windows are listed, the active one checked
};

struct MenuItem {
    MenuItemKind kind = MenuItemKind::Separator;
    int id = 0;            // the command; ID_FILE_MRU_FILE1 for the recent files, 0 otherwise
    std::string_view text; // "&" marks the mnemonic; a "\t" separates the key shown at the right

    constexpr std::string_view label() const noexcept { return text.substr(0, text.find('\t')); }
    // The key after the "\t", in the accelerator table's notation; empty when there is none.
    constexpr std::string_view keyText() const noexcept {
        const std::size_t tab = text.find('\t');
        return tab == std::string_view::npos ? std::string_view{} : text.substr(tab + 1);
    }
};

struct Menu {
    std::string_view title;
    std::span<const MenuItem> items;
};

struct Accelerator {
    std::string_view key; // portable key text, e.g. "Ctrl+A", "Alt+Backspace", "Shift+F6"
    int command = 0;
};

// The mouse's side buttons, which run commands as keys do.
enum class MouseButton { Back, Forward };

struct MouseButtonCommand {
    MouseButton button = MouseButton::Back;
    int command = 0;
};

// Every command, once; the recent files appear as one entry, ID_FILE_MRU_FILE1.
std::span<const CommandInfo> Commands() noexcept;
// Null for a number that is no command. Every recent-file number
// (ID_FILE_MRU_FILE1 to ID_FILE_MRU_FILE16) yields the entry of ID_FILE_MRU_FILE1.
const CommandInfo* FindCommand(int id) noexcept;

// Menu 128, shown while no document window is open.
std::span<const Menu> MainMenu() noexcept;
// Menu 129, shown while a document window is active.
std::span<const Menu> DocumentMenu() noexcept;

// Accelerator table 128 in table order; some commands have two keys.
std::span<const Accelerator> Accelerators() noexcept;
// The command a mouse button runs over a document window; 0 for none.
int MouseButtonCommandOf(MouseButton button) noexcept;

// Toolbar 128 from left to right; ID_SEPARATOR marks a gap.
std::span<const int> ToolbarButtons() noexcept;
// Resource path of a toolbar button's image (":/toolbar/open.png"); empty for
// a command that has no button.
std::string_view ToolbarIcon(int command) noexcept;

} // namespace stirpex
