// The naming rule of the schema rows.
#include "provider/schema/schema_names.h"

#include "provider/schema/schema_text.h"

DimensionNames::DimensionNames(const JSONDimension& dimension) {
    const DecimalText number(dimension.GetNumber());
    dimensionUniqueName.append(dimension.GetName())
        .append(u" <")
        .append(number.View())
        .append(u">");
    hierarchyUniqueName.append(u"[").append(dimensionUniqueName).append(u"]");
    if (dimension.GetDimensionOrdinal() != 0)
        allMember.append(hierarchyUniqueName)
            .append(u".[(All) <")
            .append(number.View())
            .append(u">]");
}

LevelNames::LevelNames(std::u16string_view hierarchyUniqueName, int number) {
    if (number == 0) {
        name = kAllLevelName;
        caption = kAllLevelName;
    } else {
        const DecimalText digits(number);
        name.append(u"Level <").append(digits.View()).append(u">");
        caption.append(u"Level ").append(digits.View());
    }
    uniqueName.append(hierarchyUniqueName).append(u".[").append(name).append(u"]");
}

bool IsAllLevelUniqueName(std::string_view levelUniqueName) {
    constexpr std::string_view kSuffix = ".[(All)]";
    return levelUniqueName.size() > kSuffix.size() &&
           levelUniqueName.substr(levelUniqueName.size() - kSuffix.size()) == kSuffix;
}
