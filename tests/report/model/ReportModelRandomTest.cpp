// Seeded random sequences of operations. After every step the model is compared
// with the rules as stated here, over item identities rather than indexes:
// which items exist, in which order they show, which are selected (in which
// order) and which one has the focus.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "report/model/ReportModel.h"
#include "tests/report/model/MemoryHeader.h"

namespace pagelark {
namespace {

constexpr int kNone = -2;
constexpr int kPseudo = -1;  // the pseudo item's identity and row

enum class Mode { Flat, Tree, Virtual };

Mode ModeOf(uint32_t style) {
    if (style & RCS_VIRTUAL) return Mode::Virtual;
    return style & RCS_TREE ? Mode::Tree : Mode::Flat;
}

bool Holds(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

int RowIn(const std::vector<int>& rows, int id) {
    if (id == kPseudo) return -1;
    const auto at = std::find(rows.begin(), rows.end(), id);
    return at == rows.end() ? kNone : static_cast<int>(at - rows.begin());
}

// The rules. Stored items are ids 0, 1, 2, ... (column 0 holds the id, column 1
// a key); virtual items are their indexes.
struct Rules {
    struct Node {
        int parent = kNone;
        std::vector<int> children;
        bool expanded = false;
    };

    uint32_t style = 0;
    std::vector<int> items;    // stored items in index order (flat and virtual mode)
    std::vector<int> display;  // flat mode: the display order
    std::map<int, Node> tree;  // tree mode: every item, shown or not
    std::vector<int> roots;
    std::map<int, std::string> key;
    std::map<int, int> indent;
    int count = 0;  // virtual mode
    std::vector<int> selected;
    int focus = kNone;
    bool veto = false;  // the parent refuses selection changes of ids 1, 5, 9, ...

    Mode mode() const { return ModeOf(style); }
    bool Vetoes(int id) const { return veto && id >= 0 && id % 4 == 1; }
    std::vector<int>& Siblings(int parent) {
        return parent == kNone ? roots : tree[parent].children;
    }
    void Walk(const std::vector<int>& ids, bool all, std::vector<int>& out) const {
        for (const int id : ids) {
            out.push_back(id);
            if (all || tree.at(id).expanded) Walk(tree.at(id).children, all, out);
        }
    }
    // Item identities by display row; in tree and virtual mode also by item index.
    std::vector<int> Shown() const {
        std::vector<int> out;
        if (mode() == Mode::Flat) return display;
        if (mode() == Mode::Tree) Walk(roots, false, out);
        for (int i = 0; mode() == Mode::Virtual && i < count; ++i)
            out.push_back(i);
        return out;
    }
    std::vector<int> Indexed() const { return mode() == Mode::Flat ? items : Shown(); }
    int At(int row) const {
        const std::vector<int> rows = Shown();
        if (row == -1) return kPseudo;
        return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)]
                                                               : kNone;
    }
    bool IsSelected(int id) const { return Holds(selected, id); }
    void Mark(int id, bool on) {
        if (on && !IsSelected(id)) selected.push_back(id);
        if (!on) std::erase(selected, id);
    }

    // Under the nearest shown row above with a smaller indent that is expanded or
    // childless, before the first of its children at or below the asked row.
    int InsertTree(int position, int id) {
        const std::vector<int> rows = Shown();
        const int at = std::min(position, static_cast<int>(rows.size()));
        int parent = kNone;
        for (int row = at - 1; row >= 0 && indent[id] > 0; --row) {
            const int above = rows[static_cast<size_t>(row)];
            const Node& n = tree[above];
            if (std::max(indent[above], 0) < indent[id] && (n.expanded || n.children.empty())) {
                parent = above;
                break;
            }
        }
        tree[id].parent = parent;
        if (parent != kNone && tree[parent].children.empty()) tree[parent].expanded = true;
        std::vector<int>& siblings = Siblings(parent);
        siblings.insert(std::find_if(siblings.begin(), siblings.end(),
                                     [&](int s) { return RowIn(rows, s) >= at; }),
                        id);
        return RowIn(Shown(), id);
    }
    int Insert(int position, int id) {
        if (position < 0) return kNone;
        if (mode() == Mode::Tree) return InsertTree(position, id);
        const int at = std::min(position, static_cast<int>(items.size()));
        items.insert(items.begin() + at, id);
        display.insert(display.begin() + at, id);
        return at;
    }
    // The focused item went with rows row.. : the row above takes the focus; the
    // pseudo row only when it is shown, else the first row.
    void FocusAfterRemoving(int row, const std::vector<int>& gone) {
        for (const int id : gone)
            std::erase(selected, id);
        if (!Holds(gone, focus)) return;
        const int rows = static_cast<int>(Shown().size());
        if (row - 1 == -1 && !(style & RCS_NEWITEMROW)) {
            focus = rows > 0 ? At(0) : kNone;
        } else {
            focus = At(row - 1);
        }
    }
    int Delete(int item) {
        const std::vector<int> indexed = Indexed();
        if (item < 0 || item >= static_cast<int>(indexed.size())) return 0;
        const int id = indexed[static_cast<size_t>(item)];
        const int row = RowIn(Shown(), id);
        std::vector<int> gone{id};
        if (mode() == Mode::Tree) {
            Walk(tree[id].children, true, gone);
            std::erase(Siblings(tree[id].parent), id);
            for (const int g : gone)
                tree.erase(g);
        } else {
            std::erase(items, id);
            std::erase(display, id);
        }
        FocusAfterRemoving(row, gone);
        return 1;
    }
    void DeleteAll() {
        items.clear();
        display.clear();
        tree.clear();
        roots.clear();
        selected.clear();
        focus = kNone;
    }
    void SortChildren(std::vector<int>& ids, const std::function<bool(int, int)>& before) {
        std::stable_sort(ids.begin(), ids.end(), before);
        for (const int id : ids)
            if (tree[id].expanded) SortChildren(tree[id].children, before);
    }
    int Sort(int column, bool ascending) {
        if (mode() == Mode::Virtual || (mode() == Mode::Flat && items.empty())) return 0;
        const auto text = [&](int id) { return column == 0 ? std::to_string(id) : key[id]; };
        const auto before = [&](int a, int b) {
            return ascending ? text(a) < text(b) : text(b) < text(a);
        };
        if (mode() == Mode::Flat) std::sort(display.begin(), display.end(), before);
        if (mode() == Mode::Tree) SortChildren(roots, before);
        return 1;
    }
    void Select(int first, int last, bool select, bool keepOthers, bool toggle, bool notify) {
        const bool single = (style & RCS_SINGLESELECT) != 0;
        if (single) last = first;
        focus = At(first);
        const int low = std::min(first, last);
        const int high = std::max(first, last);
        const int rows = static_cast<int>(Shown().size());
        for (int row = std::max(low, -1); select && row <= std::min(high, rows - 1); ++row) {
            const int id = At(row);
            const bool now = toggle ? !IsSelected(id) : true;
            if (now != IsSelected(id) && !(notify && Vetoes(id))) Mark(id, now);
        }
        if (keepOthers && !single) return;
        for (const int id : std::vector<int>(selected)) {
            const int row = RowIn(Shown(), id);
            if ((row < low || row > high) && !(notify && Vetoes(id))) Mark(id, false);
        }
    }
    int Collapse(int row) {
        const int id = At(row);
        if (id < 0 || tree[id].children.empty() || !tree[id].expanded) return 0;
        std::vector<int> hidden;
        Walk(tree[id].children, false, hidden);
        for (const int h : hidden)
            std::erase(selected, h);
        if (Holds(hidden, focus)) focus = id;
        tree[id].expanded = false;
        return 1;
    }
    int Expand(int row) {
        const int id = At(row);
        if (id < 0 || tree[id].children.empty() || tree[id].expanded) return 0;
        tree[id].expanded = true;
        return 1;
    }
    void SetCount(int n) {
        n = std::max(n, 0);
        if (mode() == Mode::Virtual) {
            std::erase_if(selected, [&](int id) { return id >= n; });
            if (focus >= n) focus = kNone;
        }
        count = n;
    }
    // A new mode keeps every stored item; marks follow their items between flat
    // and tree, and only the pseudo item keeps its marks into or out of virtual.
    void Restyle(uint32_t next) {
        const Mode from = mode();
        const Mode to = ModeOf(next);
        style = next;
        if (from == to) return;
        if (from == Mode::Virtual || to == Mode::Virtual) {
            const bool pseudo = IsSelected(kPseudo);
            selected.clear();
            if (pseudo) selected.push_back(kPseudo);
            if (focus != kPseudo) focus = kNone;
        }
        if (from == Mode::Tree) {
            items.clear();
            Walk(roots, true, items);
            tree.clear();
            roots.clear();
        }
        display = items;
        if (to == Mode::Tree)
            for (size_t i = 0; i < items.size(); ++i)
                InsertTree(static_cast<int>(i), items[i]);
    }
};

// The parent: answers virtual rows from their index and a data version, and
// vetoes selection changes as the rules say.
class Parent : public ReportParent {
  public:
    int OnReportNotify(NotifyHeader& header) override {
        if (header.code == RCN_GETDISPINFO) {
            ReportItemInfo& info = RecordOf<DispInfoNotify>(header).info;
            info.mask &= RIF_TEXT | RIF_STATE;
            info.state = RIS_BOLD | RIS_SELECTED;  // the parent cannot select
            if (info.mask & RIF_TEXT)
                std::snprintf(info.text, static_cast<size_t>(info.textMax), "v%d.%d", info.item,
                              version);
            return 0;
        }
        const ReportNotify& n = RecordOf<ReportNotify>(header);
        if (header.code != RCN_SELCHANGING || n.item < 0) return 0;
        const bool isVirtual = (model->GetStyle() & RCS_VIRTUAL) != 0;
        return rules->Vetoes(isVirtual ? n.item : std::stoi(model->GetItemText(n.item, 0)));
    }

    ReportModel* model = nullptr;
    const Rules* rules = nullptr;
    int version = 0;
};

class RandomRun {
  public:
    RandomRun(uint32_t style, unsigned seed) : m_random(seed) {
        m_model.SetHeader(&m_header);
        m_model.SetParent(&m_parent);
        m_model.SetConsistencyCheck([this](const std::string& fault) { m_fault = fault; });
        m_parent.model = &m_model;
        m_parent.rules = &m_rules;
        for (int n = 0; n < 2; ++n) {
            m_model.DefineSubItem(n, SubItemDef{});
            m_model.ActivateSubItem(n, n);
        }
        Restyle(style);
    }

    // One random operation; returns what it did, or why the model disagreed.
    std::string Step(uint32_t modeBit) {
        enum Op {
            kRestyle,
            kInsert,
            kDelete,
            kDeleteAll,
            kSort,
            kVeto,
            kFold,
            kCount,
            kData,
            kSelect
        };
        // Weights per operation in flat, tree and virtual mode.
        static constexpr int kWeights[3][10] = {{4, 30, 10, 1, 8, 4, 0, 0, 0, 43},
                                                {4, 30, 10, 1, 8, 4, 10, 0, 0, 33},
                                                {4, 0, 0, 0, 2, 4, 0, 12, 10, 68}};
        const int* weights = kWeights[static_cast<int>(m_rules.mode())];
        std::discrete_distribution<int> pick(weights, weights + 10);
        const int rows = static_cast<int>(m_rules.Shown().size());
        std::string did;
        switch (pick(m_random)) {
            case kRestyle:
                Restyle(m_rules.style ^ (Pick(0, 1) ? modeBit : RCS_NEWITEMROW));
                did = "style " + std::to_string(m_rules.style);
                break;
            case kInsert:
                did = Insert(Pick(0, 5) == 0 ? Pick(-1, rows + 3) : Pick(0, rows));
                break;
            case kDelete: {
                const int item = Pick(-1, rows);
                did = "delete " + std::to_string(item);
                if (m_model.DeleteItem(item) != m_rules.Delete(item)) return did + ": result";
                break;
            }
            case kDeleteAll:
                did = "delete all";
                m_model.DeleteAllItems();
                m_rules.DeleteAll();
                break;
            case kSort: {
                const int column = Pick(0, 1);
                const bool ascending = Pick(0, 1);
                did = "sort " + std::to_string(column) + (ascending ? " up" : " down");
                if (m_model.SortItems(column, ascending) != m_rules.Sort(column, ascending))
                    return did + ": result";
                break;
            }
            case kVeto:
                m_rules.veto = !m_rules.veto;
                did = "veto";
                break;
            case kFold: {
                const int row = Pick(0, rows);
                const bool collapse = Pick(0, 1);
                did = (collapse ? "collapse " : "expand ") + std::to_string(row);
                const int result =
                    collapse ? m_model.Collapse(row, true) : m_model.Expand(row, true);
                if (result != (collapse ? m_rules.Collapse(row) : m_rules.Expand(row)))
                    return did + ": result";
                break;
            }
            case kCount: {
                const int count = Pick(0, 5) == 0 ? 0 : Pick(0, 40);
                did = "count " + std::to_string(count);
                m_model.SetItemCount(count);
                m_rules.SetCount(count);
                break;
            }
            case kData:
                did = VirtualData();
                break;
            default:
                did = Select(rows);
        }
        return did + Compare();
    }

  private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    void Restyle(uint32_t style) {
        m_model.ModifyReportStyle(0xFFFF, style);
        m_rules.Restyle(style);
    }

    std::string Insert(int position) {
        const int id = m_nextId++;
        static const char* const kPieces[] = {"a", "B", "b", "\xc3\xa9", "\xe4\xb8\xad"};
        m_rules.key[id] = std::string(kPieces[Pick(0, 4)]) + kPieces[Pick(0, 4)] + "#" +
                          std::to_string(id);  // unique, so every sort has one answer
        m_rules.indent[id] = Pick(-1, 3);
        const std::string text = std::to_string(id);
        ReportItemInfo info;
        info.mask = RIF_TEXT | RIF_INDENT;
        info.item = position;
        info.text = const_cast<char*>(text.c_str());
        info.indent = m_rules.indent[id];
        const int item = m_model.InsertItem(info);
        const std::string did = "insert " + text + " at " + std::to_string(position);
        if (item != m_rules.Insert(position, id)) return did + ": result " + std::to_string(item);
        if (item >= 0) m_model.SetItemText(item, 1, m_rules.key[id]);
        return did;
    }

    std::string Select(int rows) {
        const auto row = [&] {
            const int pick = Pick(0, 30);
            return pick == 0 ? INT_MAX : pick == 1 ? INT_MIN : Pick(-3, rows + 2);
        };
        const int first = row();
        const int last = Pick(0, 3) == 0 ? first : row();
        const bool select = Pick(0, 4) != 0;
        const bool keep = Pick(0, 1);
        const bool toggle = Pick(0, 2) == 0;
        const bool notify = Pick(0, 1);
        m_model.SelectItems(first, last, select, keep, toggle, notify);
        m_rules.Select(first, last, select, keep, toggle, notify);
        std::string flags;
        for (const bool flag : {select, keep, toggle, notify})
            flags += flag ? '1' : '0';
        return "select " + std::to_string(first) + ".." + std::to_string(last) + " " + flags;
    }

    // The parent's data change; the cache must not bring back an old answer.
    std::string VirtualData() {
        if (Pick(0, 1)) {
            m_cacheOn = !m_cacheOn;
            m_model.EnableItemCache(m_cacheOn);
            return m_cacheOn ? "cache on" : "cache off";
        }
        ++m_parent.version;
        if (m_cacheOn) m_model.InvalidateItemCache();
        return "new data";
    }

    std::string Compare() {
        if (!m_fault.empty()) return ": self-check: " + m_fault;
        const std::vector<int> shown = m_rules.Shown();
        const std::vector<int> indexed = m_rules.Indexed();
        const Mode mode = m_rules.mode();
        const auto fail = [](const std::string& what, int n, long long got = 0,
                             long long want = 0) {
            return ": " + what + " " + std::to_string(n) + " is " + std::to_string(got) + ", not " +
                   std::to_string(want);
        };
        if (m_model.GetRowCount() != static_cast<int>(shown.size())) return fail("rows", 0);
        if (m_model.GetItemCount() != static_cast<int>(indexed.size())) return fail("items", 0);
        for (size_t row = 0; row < shown.size(); ++row)
            if (m_model.GetItemFromRow(static_cast<int>(row)) != RowIn(indexed, shown[row]))
                return fail("item at row", static_cast<int>(row));
        std::vector<int> walk;
        for (int item = -1; item < static_cast<int>(indexed.size()); ++item) {
            const int id = item < 0 ? kPseudo : indexed[static_cast<size_t>(item)];
            char text[64];
            ReportItemInfo info;
            info.item = item;
            info.text = text;
            info.textMax = sizeof text;
            m_model.GetItem(info);
            const std::string expected =
                item < 0 ? ""
                : mode == Mode::Virtual
                    ? "v" + std::to_string(item) + "." + std::to_string(m_parent.version)
                    : std::to_string(id);
            if ((info.mask & RIF_TEXT ? std::string(text) : "") != expected)
                return fail("text of item", item);
            uint32_t state = (m_rules.IsSelected(id) ? RIS_SELECTED : 0) |
                             (m_rules.focus == id ? RIS_FOCUSED : 0);
            if (mode == Mode::Virtual && item >= 0) state |= RIS_BOLD;
            if (mode == Mode::Tree && item >= 0 && !m_rules.tree[id].children.empty())
                state |= m_rules.tree[id].expanded ? RIS_EXPANDED : RIS_COLLAPSED;
            if (info.state != state) return fail("state of item", item, info.state, state);
            if (m_rules.IsSelected(id)) walk.push_back(item);
            if (mode == Mode::Tree && item >= 0) {
                int depth = 0;
                for (int p = m_rules.tree[id].parent; p != kNone; p = m_rules.tree[p].parent)
                    ++depth;
                if (m_model.GetItemDepth(item) != depth) return fail("depth of item", item);
            }
        }
        if (m_model.GetFocusRow() != RowIn(shown, m_rules.focus))
            return fail("focus row", 0, m_model.GetFocusRow(), RowIn(shown, m_rules.focus));
        std::vector<int> order;
        for (const int item : m_model.Selection().Items())
            order.push_back(item == -1 ? kPseudo : indexed[static_cast<size_t>(item)]);
        if (order != m_rules.selected) return fail("selection order", 0);
        std::vector<int> next;
        for (int item = m_model.GetFirstSelectedItem(); item != -2;
             item = m_model.GetNextSelectedItem(item))
            next.push_back(item);
        if (next != walk) return fail("walk of the selection", 0);
        return {};
    }

    MemoryHeader m_header;
    Parent m_parent;
    ReportModel m_model;
    Rules m_rules;
    std::mt19937 m_random;
    std::string m_fault;
    int m_nextId = 0;
    bool m_cacheOn = true;
};

void RunSequences(uint32_t style, uint32_t modeBit) {
    constexpr int kSequences = 300;
    constexpr int kSteps = 100;
    for (unsigned seed = 1; seed <= kSequences; ++seed) {
        RandomRun run(style, seed);
        std::string log;
        for (int step = 0; step < kSteps; ++step) {
            const std::string did = run.Step(modeBit);
            log += did + "\n";
            ASSERT_EQ(did.find(": "), std::string::npos) << "seed " << seed << ":\n" << log;
        }
    }
}

TEST(ReportModelRandom, Flat) {
    RunSequences(0, RCS_TREE);
}

TEST(ReportModelRandom, SingleSelect) {
    RunSequences(RCS_SINGLESELECT, RCS_TREE);
}

TEST(ReportModelRandom, Tree) {
    RunSequences(RCS_TREE, RCS_TREE);
}

TEST(ReportModelRandom, Virtual) {
    RunSequences(RCS_VIRTUAL, RCS_VIRTUAL);
}

}  // namespace
}  // namespace pagelark
