// "tree": a lineage tree of one person as the tree dialog shows it when it
// opens: its title, the state of the "Include spouses" check box, the nodes
// and the selected node. --no-spouses clicks the check box once.

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "model/stirpex_doc.h"
#include "trees/lineage_tree.h"
#include "trees/tree_walks.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex::cli {

namespace {

// Past this depth the outline stops indenting and names the level instead, so
// that a line of a million generations prints in linear size.
constexpr std::size_t kMaxIndentLevels = 100;

int treeKindOf(std::string_view word) {
    constexpr std::array<std::pair<std::string_view, int>, 4> kinds = {{
        {"ancestors", TREE_ANCESTORS},
        {"descendants", TREE_DESCENDANTS},
        {"mtdna", TREE_MTDNA},
        {"ychromosome", TREE_YCHROMOSOME},
    }};
    for (const auto& [name, kind] : kinds) {
        if (name == word) {
            return kind;
        }
    }
    throw UsageError("unknown tree kind '" + std::string(word) + "' (ancestors, descendants, mtdna or ychromosome)");
}

// Child positions from the top level down to the item.
std::vector<std::int32_t> pathTo(const LineageTree& tree, TreeItem item) {
    std::vector<std::int32_t> path;
    for (; item != kTreeRoot; item = tree.parentOf(item)) {
        path.push_back(tree.rowOf(item));
    }
    std::reverse(path.begin(), path.end());
    return path;
}

void writeJson(std::FILE* out, const TreeWalks& walks, const LineageTree& tree) {
    JsonWriter json(out);
    json.beginObject();
    json.field("title", walks.Title());
    json.key("spouses");
    json.beginObject();
    json.field("checked", walks.SpousesChecked());
    json.field("enabled", walks.SpousesEnabled());
    json.endObject();
    json.key("nodes");
    json.beginArray();
    WalkTree(
        tree,
        [&](TreeItem item, std::size_t) {
            json.beginObject();
            json.field("text", tree.text(item));
            json.field("image", tree.image(item));
            json.field("person", tree.person(item));
            json.key("children");
            json.beginArray();
        },
        [&](TreeItem) {
            json.endArray();
            json.endObject();
        });
    json.endArray();
    json.key("selected");
    if (tree.selected() == kNoTreeItem) {
        json.null();
    } else {
        json.beginArray();
        for (const std::int32_t row : pathTo(tree, tree.selected())) {
            json.value(row);
        }
        json.endArray();
    }
    json.endObject();
    json.flush();
    std::fputc('\n', out);
}

void writeOutline(std::FILE* out, const TreeWalks& walks, const LineageTree& tree) {
    std::fprintf(out, "%s\n", walks.Title().c_str());
    constexpr std::array<std::string_view, 3> markers = {"[&] ", "[M] ", "[F] "};
    std::string line;
    WalkTree(
        tree,
        [&](TreeItem item, std::size_t depth) {
            line.assign(2 * std::min(depth, kMaxIndentLevels), ' ');
            if (depth > kMaxIndentLevels) {
                line.append("(level ").append(std::to_string(depth)).append(") ");
            }
            line.append(markers[static_cast<std::size_t>(tree.image(item))]).append(tree.text(item));
            if (item == tree.selected()) {
                line.append("  (selected)");
            }
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), out);
        },
        [](TreeItem) {});
}

} // namespace

int RunTreeCommand(const CommandInput& in) {
    const int kind = treeKindOf(in.operand(0, "tree kind"));
    const CPerson& person = RequirePerson(in.doc, in.operand(1, "individual ID"));
    if (in.operands.size() > 2) {
        throw UsageError("unexpected argument '" + in.operands[2] + "'");
    }
    const bool hideSpouses = in.has("--no-spouses");
    if (hideSpouses && kind != TREE_DESCENDANTS) {
        throw UsageError("--no-spouses applies to the descendants tree only");
    }

    LineageTree tree;
    TreeWalks walks(in.doc, tree);
    walks.Open(&person, kind);
    if (hideSpouses) {
        walks.OnIncludeSpouses();
    }
    if (tree.cut()) {
        std::fprintf(stderr, "%s\n", tree.cutMessage().c_str());
    }
    if (in.json) {
        writeJson(in.out, walks, tree);
    } else {
        writeOutline(in.out, walks, tree);
    }
    return 0;
}

} // namespace stirpex::cli
