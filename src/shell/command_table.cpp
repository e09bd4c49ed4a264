#include "shell/command_table.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace stirpex {
namespace {

using S = CommandServer;

// The print-direct and file-properties commands have neither prompt nor
// tooltip: the status line goes blank while their items are under the pointer.
constexpr CommandInfo kCommands[] = {
    {ID_FILE_NEW, "ID_FILE_NEW", "Create a new document", "New", S::Application},
    {ID_FILE_OPEN, "ID_FILE_OPEN", "Open an existing document", "Open", S::Application},
    {ID_FILE_CLOSE, "ID_FILE_CLOSE", "Close the active document", "Close", S::Document},
    // Served by nobody: the program never writes a file, so Ctrl+S must do nothing.
    {ID_FILE_SAVE, "ID_FILE_SAVE", "Save the active document", "Save", S::Nobody},
    {ID_FILE_PRINT_SETUP, "ID_FILE_PRINT_SETUP", "Change the printer and printing options", "Print Setup",
     S::Application},
    {ID_FILE_PRINT, "ID_FILE_PRINT", "Print the active document", "Print", S::View},
    {ID_FILE_PRINT_DIRECT, "ID_FILE_PRINT_DIRECT", "", "", S::View},
    {ID_FILE_PRINT_PREVIEW, "ID_FILE_PRINT_PREVIEW", "Display full pages", "Print Preview", S::View},
    {ID_FILE_PROPERTIES, "ID_FILE_PROPERTIES", "", "", S::View},
    {ID_FILE_MRU_FILE1, "ID_FILE_MRU_FILE1", "Open this document", "", S::Application},
    {ID_APP_EXIT, "ID_APP_EXIT", "Quit the application; prompts to save documents", "Exit", S::Application},
    {ID_EDIT_UNDO, "ID_EDIT_UNDO", "Undo the last action", "Undo", S::Nobody},
    {ID_EDIT_CUT, "ID_EDIT_CUT", "Cut the selection and put it on the Clipboard", "Cut", S::Nobody},
    {ID_EDIT_COPY, "ID_EDIT_COPY", "Copy the page as text and put it on the Clipboard", "Copy", S::View},
    {ID_EDIT_PASTE, "ID_EDIT_PASTE", "Insert Clipboard contents", "Paste", S::Nobody},
    {ID_EDIT_FIND, "ID_EDIT_FIND", "Find a person by name", "Find name", S::View},
    {ID_EDIT_GOTO, "ID_EDIT_GOTO", "Go to a person by ID number", "Go to ID", S::View},
    {ID_EDIT_SEARCH, "ID_EDIT_SEARCH", "Find people by name, sound, place, years, sex or words", "Search", S::View},
    {ID_VIEW_RELATIONSHIP, "ID_VIEW_RELATIONSHIP", "Show how another person is related to this person", "Relationship",
     S::View},
    {ID_VIEW_HOME, "ID_VIEW_HOME", "Show the page of the file's home person", "Home person", S::View},
    {ID_VIEW_SET_HOME, "ID_VIEW_SET_HOME", "Make this person the file's home person", "Set Home Person", S::View},
    {ID_CHART_PEDIGREE, "ID_CHART_PEDIGREE", "Draw this person's ancestors as a pedigree chart", "Pedigree chart",
     S::View},
    {ID_CHART_DESCENDANTS, "ID_CHART_DESCENDANTS", "Draw this person's descendants as a chart", "Descendants chart",
     S::View},
    {ID_CHART_HOURGLASS, "ID_CHART_HOURGLASS", "Draw this person's ancestors above and descendants below",
     "Hourglass chart", S::View},
    {ID_CHART_FAN, "ID_CHART_FAN", "Draw this person's ancestors in rings", "Fan chart", S::View},
    {ID_VIEW_TOOLBAR, "ID_VIEW_TOOLBAR", "Show or hide the toolbar", "Toggle ToolBar", S::MainFrame},
    {ID_VIEW_STATUS_BAR, "ID_VIEW_STATUS_BAR", "Show or hide the status bar", "Toggle StatusBar", S::MainFrame},
    {ID_VIEW_ANCESTORS, "ID_VIEW_ANCESTORS", "View ancestors of this person", "Ancestors", S::View},
    {ID_VIEW_DESCENDANTS, "ID_VIEW_DESCENDANTS", "View descendants of this person", "Descendants", S::View},
    {ID_VIEW_MTDNA, "ID_VIEW_MTDNA", "View who shares this person's mitochondrial DNA", "Mitochondrial DNA", S::View},
    {ID_VIEW_YCHROMOSOME, "ID_VIEW_YCHROMOSOME", "View who shares this person's Y chromosome", "Y chromosome", S::View},
    {ID_GO_BACK, "ID_GO_BACK", "Move back one person", "Back", S::View},
    {ID_GO_FORWARD, "ID_GO_FORWARD", "Move forward one person", "Forward", S::View},
    {ID_WINDOW_NEW, "ID_WINDOW_NEW", "Open another window for the active document", "New Window", S::MainFrame},
    {ID_WINDOW_CASCADE, "ID_WINDOW_CASCADE", "Arrange windows so they overlap", "Cascade Windows", S::MainFrame},
    {ID_WINDOW_TILE_HORZ, "ID_WINDOW_TILE_HORZ", "Arrange windows as non-overlapping tiles", "Tile Windows",
     S::MainFrame},
    {ID_WINDOW_ARRANGE, "ID_WINDOW_ARRANGE", "Arrange icons at the bottom of the window", "Arrange Icons",
     S::MainFrame},
    {ID_APP_ABOUT, "ID_APP_ABOUT", "Display program information, version number and copyright", "About",
     S::Application},
    // The windows have no panes: the framework's pane keys stay in the table but do nothing.
    {ID_NEXT_PANE, "ID_NEXT_PANE", "Switch to the next window pane", "Next Pane", S::Nobody},
    {ID_PREV_PANE, "ID_PREV_PANE", "Switch back to the previous window pane", "Previous Pane", S::Nobody},
};

constexpr MenuItem command(int id, std::string_view text) {
    return {MenuItemKind::Command, id, text};
}
constexpr MenuItem kRule{MenuItemKind::Separator, 0, ""};
constexpr MenuItem kRecentFiles{MenuItemKind::RecentFiles, ID_FILE_MRU_FILE1, "Recent File"};
constexpr MenuItem kWindowList{MenuItemKind::WindowList, 0, ""};

constexpr MenuItem kOpen = command(ID_FILE_OPEN, "&Open...\tCtrl+O");
constexpr MenuItem kPrintSetup = command(ID_FILE_PRINT_SETUP, "P&rint Setup...");
constexpr MenuItem kExit = command(ID_APP_EXIT, "E&xit");
constexpr MenuItem kToolbar = command(ID_VIEW_TOOLBAR, "&Toolbar");
constexpr MenuItem kStatusBar = command(ID_VIEW_STATUS_BAR, "&Status Bar");
constexpr MenuItem kAbout = command(ID_APP_ABOUT, "&About Stirpex...");

constexpr MenuItem kMainFile[] = {kOpen, kRule, kPrintSetup, kRule, kRecentFiles, kRule, kExit};
constexpr MenuItem kMainView[] = {kToolbar, kStatusBar};
constexpr MenuItem kHelp[] = {kAbout};

constexpr Menu kMainMenu[] = {
    {"&File", kMainFile},
    {"&View", kMainView},
    {"&Help", kHelp},
};

constexpr MenuItem kDocumentFile[] = {
    kOpen,
    command(ID_FILE_CLOSE, "&Close"),
    kRule,
    command(ID_FILE_PRINT, "&Print...\tCtrl+P"),
    command(ID_FILE_PRINT_PREVIEW, "Print Pre&view"),
    kPrintSetup,
    kRule,
    command(ID_FILE_PROPERTIES, "File properties..."),
    kRule,
    kRecentFiles,
    kRule,
    kExit,
};
constexpr MenuItem kDocumentEdit[] = {
    command(ID_EDIT_UNDO, "&Undo\tCtrl+Z"),     kRule,
    command(ID_EDIT_CUT, "Cu&t\tCtrl+X"),       command(ID_EDIT_COPY, "&Copy\tCtrl+C"),
    command(ID_EDIT_PASTE, "&Paste\tCtrl+V"),   command(ID_EDIT_FIND, "&Find...\tCtrl+F"),
    command(ID_EDIT_GOTO, "&Go to...\tCtrl+G"), command(ID_EDIT_SEARCH, "&Search...\tCtrl+Shift+F"),
};
constexpr MenuItem kDocumentView[] = {
    kToolbar,
    kStatusBar,
    kRule,
    command(ID_VIEW_ANCESTORS, "&Ancestors...\tCtrl+A"),
    command(ID_VIEW_DESCENDANTS, "&Descendants...\tCtrl+D"),
    command(ID_VIEW_MTDNA, "Mitochondrial DNA...\tCtrl+M"),
    command(ID_VIEW_YCHROMOSOME, "Y chromosome...\tCtrl+Y"),
    kRule,
    command(ID_CHART_PEDIGREE, "Pedi&gree Chart\tCtrl+Shift+P"),
    command(ID_CHART_DESCENDANTS, "D&escendants Chart\tCtrl+Shift+D"),
    command(ID_CHART_HOURGLASS, "H&ourglass Chart\tCtrl+Shift+H"),
    command(ID_CHART_FAN, "F&an Chart\tCtrl+Shift+N"),
    kRule,
    command(ID_VIEW_RELATIONSHIP, "&Relationship...\tCtrl+R"),
    command(ID_VIEW_HOME, "&Home Person\tAlt+Home"),
    command(ID_VIEW_SET_HOME, "Set Home &Person"),
};
constexpr MenuItem kDocumentWindow[] = {
    command(ID_WINDOW_NEW, "&New Window"),
    command(ID_WINDOW_CASCADE, "&Cascade"),
    command(ID_WINDOW_TILE_HORZ, "&Tile"),
    command(ID_WINDOW_ARRANGE, "&Arrange Icons"),
    kWindowList,
};

constexpr Menu kDocumentMenu[] = {
    {"&File", kDocumentFile},     {"&Edit", kDocumentEdit}, {"&View", kDocumentView},
    {"&Window", kDocumentWindow}, {"&Help", kHelp},
};

constexpr Accelerator kPageAccelerators[] = {
    {"Ctrl+A", ID_VIEW_ANCESTORS},    {"Ctrl+C", ID_EDIT_COPY},
    {"Ctrl+D", ID_VIEW_DESCENDANTS},  {"Ctrl+F", ID_EDIT_FIND},
    {"Ctrl+G", ID_EDIT_GOTO},         {"Ctrl+M", ID_VIEW_MTDNA},
    {"Ctrl+N", ID_FILE_NEW},          {"Ctrl+O", ID_FILE_OPEN},
    {"Ctrl+P", ID_FILE_PRINT},        {"Ctrl+S", ID_FILE_SAVE},
    {"Ctrl+V", ID_EDIT_PASTE},        {"Alt+Backspace", ID_EDIT_UNDO},
    {"Shift+Delete", ID_EDIT_CUT},    {"F6", ID_NEXT_PANE},
    {"Shift+F6", ID_PREV_PANE},       {"Ctrl+Insert", ID_EDIT_COPY},
    {"Shift+Insert", ID_EDIT_PASTE},  {"Ctrl+X", ID_EDIT_CUT},
    {"Ctrl+Y", ID_VIEW_YCHROMOSOME},  {"Ctrl+Z", ID_EDIT_UNDO},
    {"Alt+Left", ID_GO_BACK},         {"Alt+Right", ID_GO_FORWARD},
    {"Ctrl+R", ID_VIEW_RELATIONSHIP}, {"Ctrl+Shift+F", ID_EDIT_SEARCH},
    {"Alt+Home", ID_VIEW_HOME},
};

// The charts' keys, beside Ctrl+A and Ctrl+D of the trees.
constexpr Accelerator kChartAccelerators[] = {
    {"Ctrl+Shift+P", ID_CHART_PEDIGREE},
    {"Ctrl+Shift+D", ID_CHART_DESCENDANTS},
    {"Ctrl+Shift+H", ID_CHART_HOURGLASS},
    {"Ctrl+Shift+N", ID_CHART_FAN},
};

template <std::size_t N, std::size_t M>
constexpr std::array<Accelerator, N + M> joined(const Accelerator (&first)[N], const Accelerator (&second)[M]) {
    std::array<Accelerator, N + M> all{};
    std::copy(std::begin(first), std::end(first), all.begin());
    std::copy(std::begin(second), std::end(second), all.begin() + N);
    return all;
}

constexpr auto kAccelerators = joined(kPageAccelerators, kChartAccelerators);

constexpr MouseButtonCommand kMouseButtons[] = {
    {MouseButton::Back, ID_GO_BACK},
    {MouseButton::Forward, ID_GO_FORWARD},
};

constexpr int kToolbarButtons[] = {
    ID_FILE_OPEN,         ID_SEPARATOR,       ID_EDIT_FIND,        ID_SEPARATOR,  ID_VIEW_DESCENDANTS,
    ID_VIEW_ANCESTORS,    ID_VIEW_MTDNA,      ID_VIEW_YCHROMOSOME, ID_SEPARATOR,  ID_CHART_PEDIGREE,
    ID_CHART_DESCENDANTS, ID_CHART_HOURGLASS, ID_CHART_FAN,        ID_SEPARATOR,  ID_FILE_PRINT,
    ID_APP_ABOUT,         ID_SEPARATOR,       ID_GO_BACK,          ID_GO_FORWARD, ID_VIEW_HOME,
};

struct ToolbarImage {
    int command;
    std::string_view path;
};

constexpr ToolbarImage kToolbarImages[] = {
    {ID_FILE_OPEN, ":/toolbar/open.png"},
    {ID_EDIT_FIND, ":/toolbar/find.png"},
    {ID_VIEW_DESCENDANTS, ":/toolbar/descendants.png"},
    {ID_VIEW_ANCESTORS, ":/toolbar/ancestors.png"},
    {ID_VIEW_MTDNA, ":/toolbar/mtdna.png"},
    {ID_VIEW_YCHROMOSOME, ":/toolbar/ychromosome.png"},
    {ID_CHART_PEDIGREE, ":/toolbar/chart-pedigree.png"},
    {ID_CHART_DESCENDANTS, ":/toolbar/chart-descendants.png"},
    {ID_CHART_HOURGLASS, ":/toolbar/chart-hourglass.png"},
    {ID_CHART_FAN, ":/toolbar/chart-fan.png"},
    {ID_FILE_PRINT, ":/toolbar/print.png"},
    {ID_APP_ABOUT, ":/toolbar/about.png"},
    {ID_GO_BACK, ":/toolbar/back.png"},
    {ID_GO_FORWARD, ":/toolbar/forward.png"},
    {ID_VIEW_HOME, ":/toolbar/home.png"},
};

} // namespace

std::span<const CommandInfo> Commands() noexcept {
    return kCommands;
}

const CommandInfo* FindCommand(int id) noexcept {
    if (id > ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) {
        id = ID_FILE_MRU_FILE1;
    }
    const auto* found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                     [id](const CommandInfo& info) { return info.id == id; });
    return found == std::end(kCommands) ? nullptr : found;
}

std::span<const Menu> MainMenu() noexcept {
    return kMainMenu;
}

std::span<const Menu> DocumentMenu() noexcept {
    return kDocumentMenu;
}

std::span<const Accelerator> Accelerators() noexcept {
    return kAccelerators;
}

int MouseButtonCommandOf(MouseButton button) noexcept {
    for (const MouseButtonCommand& entry : kMouseButtons) {
        if (entry.button == button) {
            return entry.command;
        }
    }
    return 0;
}

std::span<const int> ToolbarButtons() noexcept {
    return kToolbarButtons;
}

std::string_view ToolbarIcon(int command) noexcept {
    for (const ToolbarImage& image : kToolbarImages) {
        if (image.command == command) {
            return image.path;
        }
    }
    return {};
}

} // namespace stirpex
