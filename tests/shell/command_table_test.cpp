#include "shell/command_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace stirpex {
namespace {

std::vector<std::pair<std::string_view, const MenuItem*>> AllMenuItems() {
    std::vector<std::pair<std::string_view, const MenuItem*>> items;
    for (const auto menus : {MainMenu(), DocumentMenu()}) {
        for (const Menu& menu : menus) {
            for (const MenuItem& item : menu.items) {
                items.emplace_back(menu.title, &item);
            }
        }
    }
    return items;
}

std::vector<int> AcceleratorCommands(std::string_view key) {
    std::vector<int> commands;
    for (const Accelerator& accelerator : Accelerators()) {
        if (accelerator.key == key) {
            commands.push_back(accelerator.command);
        }
    }
    return commands;
}

TEST(CommandTable, IdsNamesAndKeysAreUnique) {
    std::set<int> ids;
    std::set<std::string_view> names;
    for (const CommandInfo& info : Commands()) {
        EXPECT_TRUE(ids.insert(info.id).second) << info.id;
        EXPECT_TRUE(names.insert(info.name).second) << info.name;
        EXPECT_EQ(FindCommand(info.id), &info) << info.name;
    }
    std::set<std::string_view> keys;
    for (const Accelerator& accelerator : Accelerators()) {
        EXPECT_TRUE(keys.insert(accelerator.key).second) << accelerator.key;
    }
    // Ctrl+R and Ctrl+Shift+F open the relationship and the search, Alt+Home the home person's page,
    // Ctrl+Shift+P, D, H and N the four charts.
    EXPECT_EQ(keys.size(), 29u);
}

TEST(CommandTable, EveryMenuItemKeyAndButtonNamesACommand) {
    for (const auto& [title, item] : AllMenuItems()) {
        if (item->kind == MenuItemKind::Command || item->kind == MenuItemKind::RecentFiles) {
            const CommandInfo* info = FindCommand(item->id);
            ASSERT_NE(info, nullptr) << title << " " << item->text;
            EXPECT_EQ(info->id, item->id) << item->text;
        } else {
            EXPECT_EQ(item->id, 0) << title;
        }
    }
    for (const Accelerator& accelerator : Accelerators()) {
        EXPECT_NE(FindCommand(accelerator.command), nullptr) << accelerator.key;
    }
    for (const int button : ToolbarButtons()) {
        if (button != ID_SEPARATOR) {
            EXPECT_NE(FindCommand(button), nullptr) << button;
        }
    }
}

// A menu that shows one key and an accelerator table that binds another (or
// binds it to a different command) would lie to the user.
TEST(CommandTable, KeysShownInMenusAreTheAcceleratorsOfTheirCommands) {
    int shown = 0;
    for (const auto& [title, item] : AllMenuItems()) {
        const std::string_view key = item->keyText();
        if (!key.empty()) {
            ++shown;
            EXPECT_EQ(AcceleratorCommands(key), std::vector<int>{item->id}) << title << " " << item->text;
        } else if (item->kind == MenuItemKind::Command) {
            for (const Accelerator& accelerator : Accelerators()) {
                EXPECT_NE(accelerator.command, item->id) << item->text << " hides its key " << accelerator.key;
            }
        }
    }
    EXPECT_EQ(shown, 20);
}

TEST(CommandTable, MenuTextsSplitIntoLabelAndKey) {
    const MenuItem& open = MainMenu()[0].items[0];
    EXPECT_EQ(open.text, "&Open...\tCtrl+O");
    EXPECT_EQ(open.label(), "&Open...");
    EXPECT_EQ(open.keyText(), "Ctrl+O");
    const MenuItem& close = DocumentMenu()[0].items[1];
    EXPECT_EQ(close.label(), "&Close");
    EXPECT_EQ(close.keyText(), "");
}

TEST(CommandTable, RecentFilesAndWindowListSitWhereTheAppFillsThem) {
    int recent = 0;
    for (const auto& [title, item] : AllMenuItems()) {
        if (item->kind == MenuItemKind::RecentFiles) {
            ++recent;
            EXPECT_EQ(title, "&File");
            EXPECT_EQ(item->text, "Recent File");
        }
    }
    EXPECT_EQ(recent, 2);
    for (const Menu& menu : MainMenu()) {
        EXPECT_NE(menu.items.back().kind, MenuItemKind::WindowList) << menu.title;
    }
    const Menu& window = DocumentMenu()[3];
    EXPECT_EQ(window.title, "&Window");
    EXPECT_EQ(window.items.back().kind, MenuItemKind::WindowList);
    EXPECT_EQ(window.items.size(), 5u);
}

TEST(CommandTable, EveryRecentFileNumberFindsTheRecentFileEntry) {
    const CommandInfo* first = FindCommand(ID_FILE_MRU_FILE1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FindCommand(57619), first);
    EXPECT_EQ(FindCommand(ID_FILE_MRU_FILE16), first);
    EXPECT_EQ(FindCommand(ID_FILE_MRU_FILE16 + 1), nullptr);
    EXPECT_EQ(FindCommand(ID_FILE_MRU_FILE1 - 1), nullptr);
    EXPECT_EQ(FindCommand(0), nullptr);
    EXPECT_EQ(first->prompt, "Open this document");
    EXPECT_EQ(first->tooltip, "");
}

TEST(CommandTable, PromptsAndTooltipsKeepTheirPunctuation) {
    const auto prompt = [](int id) { return FindCommand(id)->prompt; };
    const auto tooltip = [](int id) { return FindCommand(id)->tooltip; };
    EXPECT_EQ(prompt(ID_APP_EXIT), "Quit the application; prompts to save documents");
    EXPECT_EQ(prompt(ID_VIEW_MTDNA), "View who shares this person's mitochondrial DNA");
    EXPECT_EQ(prompt(ID_WINDOW_TILE_HORZ), "Arrange windows as non-overlapping tiles");
    EXPECT_EQ(prompt(ID_APP_ABOUT), "Display program information, version number and copyright");
    EXPECT_EQ(tooltip(ID_VIEW_TOOLBAR), "Toggle ToolBar");
    EXPECT_EQ(tooltip(ID_VIEW_STATUS_BAR), "Toggle StatusBar");
    EXPECT_EQ(tooltip(ID_EDIT_FIND), "Find name");
    EXPECT_EQ(FindCommand(ID_FILE_PROPERTIES)->name, "ID_FILE_PROPERTIES");
    EXPECT_EQ(prompt(ID_FILE_PROPERTIES), "");
    EXPECT_EQ(tooltip(ID_FILE_PRINT_DIRECT), "");
}

bool EnabledWithoutDocument(int id) {
    const CommandServer server = FindCommand(id)->server;
    return server == CommandServer::Application || server == CommandServer::MainFrame;
}

TEST(CommandTable, WithoutADocumentOnlyOpenAndAboutButtonsAreEnabled) {
    std::vector<int> enabled;
    for (const int button : ToolbarButtons()) {
        if (button != ID_SEPARATOR && EnabledWithoutDocument(button)) {
            enabled.push_back(button);
        }
    }
    EXPECT_EQ(enabled, (std::vector<int>{ID_FILE_OPEN, ID_APP_ABOUT}));
}

// Nothing may answer these keys: the program writes no file, pastes nothing,
// has no undo, and its windows have no panes.
TEST(CommandTable, TheKeysOfCommandsNobodyServesAreExactlyTheDeadOnes) {
    std::vector<std::string_view> dead;
    for (const Accelerator& accelerator : Accelerators()) {
        if (FindCommand(accelerator.command)->server == CommandServer::Nobody) {
            dead.push_back(accelerator.key);
        }
    }
    EXPECT_EQ(dead, (std::vector<std::string_view>{"Ctrl+S", "Ctrl+V", "Alt+Backspace", "Shift+Delete", "F6",
                                                   "Shift+F6", "Shift+Insert", "Ctrl+X", "Ctrl+Z"}));
}

// Back, Forward and Home answer the keys and the mouse's side buttons of browsers, beside the toolbar.
TEST(CommandTable, HistoryHasKeysAndMouseButtons) {
    EXPECT_EQ(AcceleratorCommands("Alt+Left"), std::vector<int>{ID_GO_BACK});
    EXPECT_EQ(AcceleratorCommands("Alt+Right"), std::vector<int>{ID_GO_FORWARD});
    EXPECT_EQ(AcceleratorCommands("Alt+Home"), std::vector<int>{ID_VIEW_HOME});
    EXPECT_EQ(MouseButtonCommandOf(MouseButton::Back), ID_GO_BACK);
    EXPECT_EQ(MouseButtonCommandOf(MouseButton::Forward), ID_GO_FORWARD);
    EXPECT_EQ(FindCommand(ID_EDIT_COPY)->server, CommandServer::View);
}

// Descendants comes before Ancestors on the bar; the order is easy to "tidy" wrongly.
TEST(Toolbar, FifteenButtonsInFiveGroups) {
    const std::span<const int> buttons = ToolbarButtons();
    EXPECT_EQ(std::vector<int>(buttons.begin(), buttons.end()),
              (std::vector<int>{ID_FILE_OPEN,        ID_SEPARATOR,      ID_EDIT_FIND,         ID_SEPARATOR,
                                ID_VIEW_DESCENDANTS, ID_VIEW_ANCESTORS, ID_VIEW_MTDNA,        ID_VIEW_YCHROMOSOME,
                                ID_SEPARATOR,        ID_CHART_PEDIGREE, ID_CHART_DESCENDANTS, ID_CHART_HOURGLASS,
                                ID_CHART_FAN,        ID_SEPARATOR,      ID_FILE_PRINT,        ID_APP_ABOUT,
                                ID_SEPARATOR,        ID_GO_BACK,        ID_GO_FORWARD,        ID_VIEW_HOME}));
    EXPECT_EQ(ToolbarIcon(ID_VIEW_MTDNA), ":/toolbar/mtdna.png");
    EXPECT_EQ(ToolbarIcon(ID_VIEW_HOME), ":/toolbar/home.png");
    EXPECT_EQ(ToolbarIcon(ID_FILE_NEW), "");
}

// The resource file, read as the resource compiler reads it: alias to file, relative to res/.
class ResourceFile : public ::testing::Test {
protected:
    static std::string resDir() { return std::string(STIRPEX_SAMPLES_DIR) + "/../res/"; }

    static std::string fileOf(std::string_view path) {
        std::ifstream in(resDir() + "stirpex.qrc");
        std::stringstream text;
        text << in.rdbuf();
        const std::string qrc = text.str();
        const std::string alias = "alias=\"" + std::string(path.substr(2)) + "\">";
        const std::size_t at = qrc.find(alias);
        if (at == std::string::npos || path.substr(0, 2) != ":/") {
            return {};
        }
        const std::size_t begin = at + alias.size();
        return qrc.substr(begin, qrc.find("</file>", begin) - begin);
    }

    // Width and height from the PNG header; {0, 0} when the file is no PNG.
    static std::pair<int, int> pngSize(const std::string& file) {
        std::ifstream in(resDir() + file, std::ios::binary);
        unsigned char header[24] = {};
        in.read(reinterpret_cast<char*>(header), sizeof header);
        if (!in || std::string_view(reinterpret_cast<char*>(header) + 12, 4) != "IHDR") {
            return {0, 0};
        }
        const auto be = [&](int at) {
            return static_cast<int>(std::uint32_t{header[at]} << 24 | std::uint32_t{header[at + 1]} << 16 |
                                    std::uint32_t{header[at + 2]} << 8 | std::uint32_t{header[at + 3]});
        };
        return {be(16), be(20)};
    }
};

TEST_F(ResourceFile, EveryToolbarButtonHasItsOwnSixteenPixelImageAndItsDouble) {
    std::set<std::string> files;
    for (const int button : ToolbarButtons()) {
        if (button == ID_SEPARATOR) {
            continue;
        }
        const std::string file = fileOf(ToolbarIcon(button));
        ASSERT_FALSE(file.empty()) << button;
        EXPECT_TRUE(files.insert(file).second) << file;
        const auto [width, height] = pngSize(file);
        EXPECT_EQ(width, 16) << file;
        EXPECT_TRUE(height == 15 || height == 16) << file;
        // The image Qt takes on a screen of two pixels to the point, by its name; without it the icon is blurred.
        std::string doubled(ToolbarIcon(button));
        doubled.insert(doubled.size() - 4, "@2x");
        EXPECT_EQ(pngSize(fileOf(doubled)), std::make_pair(2 * width, 2 * height)) << doubled;
    }
    EXPECT_EQ(files.size(), 15u);
}

TEST_F(ResourceFile, TreeAndWindowIconsHaveTheirSizes) {
    const std::pair<std::string_view, int> icons[] = {
        {":/tree/partner.png", 16},    {":/tree/male.png", 16},       {":/tree/female.png", 16},
        {":/app/stirpex.png", 256},    {":/app/stirpex-16.png", 16},  {":/app/stirpex-32.png", 32},
        {":/app/stirpex-48.png", 48},  {":/app/document.png", 256},   {":/app/document-16.png", 16},
        {":/app/document-32.png", 32}, {":/app/document-48.png", 48},
    };
    for (const auto& [path, size] : icons) {
        const std::string file = fileOf(path);
        ASSERT_FALSE(file.empty()) << path;
        EXPECT_EQ(pngSize(file), std::make_pair(size, size)) << path;
    }
}

} // namespace
} // namespace stirpex
