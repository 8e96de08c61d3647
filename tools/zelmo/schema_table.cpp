// Schema rows and name lookup: exact matches win over matches that differ only in case, so
// that "Region" and "region" can both name something when only one of them exists.
#include "tools/zelmo/schema_table.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr size_t kMostListed = 10;

bool EqualIgnoringCase(const std::string& left, const std::string& right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::string JoinTexts(const SchemaTable& table, const std::vector<size_t>& rows,
                      const std::string& column) {
    std::string text;
    for (size_t i = 0; i < rows.size() && i < kMostListed; ++i) {
        text += (i > 0 ? ", " : "") + table.Text(rows[i], column);
    }
    return rows.size() > kMostListed ? text + ", ..." : text;
}

}  // namespace

size_t SchemaTable::ColumnIndex(const std::string& name) const {
    const auto found = std::find(columns.begin(), columns.end(), name);
    if (found == columns.end()) {
        throw std::out_of_range("no column " + name);
    }
    return static_cast<size_t>(found - columns.begin());
}

const std::string& SchemaTable::Text(size_t row, const std::string& column) const {
    return rows.at(row).at(ColumnIndex(column)).text;
}

std::string SchemaTable::Render() const { return GridPrinter::RenderTable(columns, rows); }

size_t FindNamedRow(const SchemaTable& table, const NameLookup& lookup, const std::string& name) {
    std::vector<size_t> columns;
    for (const std::string& column : lookup.columns) {
        columns.push_back(table.ColumnIndex(column));
    }
    std::vector<size_t> matches;
    for (const bool exact : {true, false}) {
        for (size_t row = 0; row < table.rows.size(); ++row) {
            const bool named = std::any_of(columns.begin(), columns.end(), [&](size_t column) {
                const std::string& text = table.rows[row][column].text;
                return exact ? text == name : EqualIgnoringCase(text, name);
            });
            if (named) {
                matches.push_back(row);
            }
        }
        if (!matches.empty()) {
            break;
        }
    }
    if (matches.size() == 1) {
        return matches.front();
    }
    if (matches.empty()) {
        std::vector<size_t> all(table.rows.size());
        for (size_t row = 0; row < all.size(); ++row) {
            all[row] = row;
        }
        throw NameError("no " + lookup.kind + " '" + name + "'" + lookup.scope + "; " +
                        (all.empty() ? "there are none"
                                     : "known: " + JoinTexts(table, all, lookup.listColumn)));
    }
    throw NameError("'" + name + "' names more than one " + lookup.kind + lookup.scope + " (" +
                    JoinTexts(table, matches, lookup.columns.front()) + "); give the unique name");
}
