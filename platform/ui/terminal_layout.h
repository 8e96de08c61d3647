// How the terminal host lays a dialog out: text lines, then fields one at a time, in the order
// they appear on the dialog (top to bottom, left to right).
#pragma once

#include <string>
#include <vector>

#include "window_object.h"

struct TerminalItem {
    enum class Kind { Text, Edit, RadioGroup, CheckBox, Button };
    Kind kind = Kind::Text;
    std::u16string text;  // a line of text, or a field's label
    std::vector<HWND> controls;
    bool hidden = false;  // an ES_PASSWORD edit
};

class TerminalLayout {
  public:
    // Items of the dialog; push buttons come last, in template order.
    static std::vector<TerminalItem> Build(const WindowObject& dialog);
    // Control text as shown: '&' marks a mnemonic, "&&" is a literal '&'.
    static std::u16string DisplayText(const std::u16string& text);
};
