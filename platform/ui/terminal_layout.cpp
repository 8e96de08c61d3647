// The terminal host's layout of a dialog.
#include "terminal_layout.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "dialog_manager.h"
#include "window_table.h"

namespace {

struct Placed {
    WindowPtr window;
    RECT rect;
    size_t order;
};

bool IsLabel(const WindowObject& w) {
    return w.kind == WindowKind::Static && (w.style & SS_TYPEMASK) != SS_ICON && !w.text.empty();
}

bool IsGroupBox(const WindowObject& w) {
    return w.kind == WindowKind::Button && w.ButtonType() == BS_GROUPBOX;
}

// The static that labels an edit: on its row and to its left, the nearest one.
const Placed* LabelOf(const Placed& edit, const std::vector<Placed>& placed) {
    const Placed* best = nullptr;
    long long bestScore = LLONG_MAX;
    long long editMid = (edit.rect.top + edit.rect.bottom) / 2;
    long long editHeight = std::max<long long>(edit.rect.bottom - edit.rect.top, 8);
    for (const Placed& p : placed) {
        if (!IsLabel(*p.window) || p.rect.left >= edit.rect.left) continue;
        long long dy = std::llabs((p.rect.top + p.rect.bottom) / 2 - editMid);
        if (dy > editHeight) continue;
        long long dx = std::max<long long>(edit.rect.left - p.rect.right, 0);
        long long score = dy * 4 + dx;
        if (score < bestScore) {
            bestScore = score;
            best = &p;
        }
    }
    return best;
}

}  // namespace

std::u16string TerminalLayout::DisplayText(const std::u16string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

std::vector<TerminalItem> TerminalLayout::Build(const WindowObject& dialog) {
    WindowTable& table = WindowTable::Instance();
    std::vector<Placed> placed;
    for (HWND child : dialog.children) {
        WindowPtr w = table.Find(child);
        if (w == nullptr || w->IsDialog() || !w->visible) continue;
        placed.push_back({w, w->rect, placed.size()});
    }
    std::vector<const Placed*> labels;
    for (const Placed& p : placed) {
        if (p.window->kind != WindowKind::Edit) continue;
        if (const Placed* label = LabelOf(p, placed)) labels.push_back(label);
    }
    std::vector<Placed> sorted = placed;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Placed& a, const Placed& b) {
        if (a.rect.top != b.rect.top) return a.rect.top < b.rect.top;
        return a.rect.left < b.rect.left;
    });

    std::vector<TerminalItem> items;
    std::vector<TerminalItem> buttons;
    std::vector<HWND> grouped;
    LONG lastTextTop = INT_MIN;
    LONG rowTolerance = std::max(dialog.baseUnitY / 2, 2);
    for (const Placed& p : sorted) {
        const WindowObject& w = *p.window;
        bool isLabelOfEdit = std::any_of(labels.begin(), labels.end(), [&](const Placed* l) {
            return l->window->handle == w.handle;
        });
        if (isLabelOfEdit) continue;
        if (IsLabel(w) || IsGroupBox(w)) {
            std::u16string text = DisplayText(w.text);
            if (text.empty()) continue;
            bool sameRow = !items.empty() && items.back().kind == TerminalItem::Kind::Text &&
                           IsLabel(w) && lastTextTop != INT_MIN &&
                           std::labs(p.rect.top - lastTextTop) <= rowTolerance;
            if (sameRow) {
                items.back().text += u' ';
                items.back().text += text;
            } else {
                items.push_back({TerminalItem::Kind::Text, text, {}, false});
            }
            lastTextTop = IsLabel(w) ? p.rect.top : INT_MIN;
            continue;
        }
        lastTextTop = INT_MIN;
        if (w.kind == WindowKind::Edit) {
            const Placed* label = LabelOf(p, placed);
            std::u16string text = label != nullptr ? DisplayText(label->window->text) : u"";
            items.push_back(
                {TerminalItem::Kind::Edit, text, {w.handle}, (w.style & ES_PASSWORD) != 0});
        } else if (w.IsRadioButton()) {
            if (std::find(grouped.begin(), grouped.end(), w.handle) != grouped.end()) continue;
            // The radio buttons of one group, in template order.
            TerminalItem group{TerminalItem::Kind::RadioGroup, u"", {}, false};
            size_t index = p.order;
            size_t first = index;
            while (first > 0 && (placed[first].window->style & WS_GROUP) == 0) --first;
            for (size_t i = first; i < placed.size(); ++i) {
                if (i > first && (placed[i].window->style & WS_GROUP) != 0) break;
                if (placed[i].window->IsRadioButton()) {
                    group.controls.push_back(placed[i].window->handle);
                    grouped.push_back(placed[i].window->handle);
                }
            }
            items.push_back(group);
        } else if (w.IsCheckable()) {
            items.push_back({TerminalItem::Kind::CheckBox, DisplayText(w.text), {w.handle}, false});
        }
    }
    for (const Placed& p : placed) {
        if (p.window->IsPushButton()) {
            buttons.push_back({TerminalItem::Kind::Button,
                               DisplayText(p.window->text),
                               {p.window->handle},
                               false});
        }
    }
    items.insert(items.end(), buttons.begin(), buttons.end());
    return items;
}
