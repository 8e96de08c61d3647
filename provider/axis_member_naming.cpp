// Axis member naming: unique names, level names and the axis rowset's column names.
#include "provider/axis_member_naming.h"

#include <algorithm>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string DecimalText(int number) {
    const std::string narrow = std::to_string(number);
    return {narrow.begin(), narrow.end()};
}

std::u16string ColumnName(const RESTAxisDimension& dimension, const char16_t* column) {
    return u"[" + dimension.GetName() + u"].[" + column + u"]";
}

}  // namespace

std::u16string MakeDimensionUniqueName(const RESTAxisDimension& dimension) {
    return u"[" + dimension.GetName() + u" <" + DecimalText(dimension.GetNumber()) + u">]";
}

std::u16string MakeMemberUniqueName(const JSONMember& member, const RESTAxisDimension& dimension) {
    std::u16string parent = member.GetParentUniqueName();
    if (parent.empty()) parent = MakeDimensionUniqueName(dimension);
    return parent + u".[" + ReplaceNameBrackets(member.GetName()) + u" <" + member.GetId() + u">]";
}

std::u16string MakeLevelUniqueName(const JSONMember& member, const RESTAxisDimension& dimension) {
    const MemberPosition* position = member.GetPositionInForce();
    return MakeDimensionUniqueName(dimension) + u"." +
           (position != nullptr ? BracketName(*position) : std::u16string(u"[]"));
}

std::u16string BracketName(const MemberPosition& position) {
    return u"[" + position.GetLevelName() + u"]";
}

std::u16string ReplaceNameBrackets(std::u16string name) {
    std::replace_if(
        name.begin(), name.end(), [](char16_t c) { return c == u'[' || c == u']'; }, u'|');
    return name;
}

std::u16string& TrimBlanks(std::u16string& text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    text.erase(end);
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin])) ++begin;
    text.erase(0, begin);
    return text;
}

std::u16string MemberUniqueNameColumnName(const RESTAxisDimension& dimension) {
    return ColumnName(dimension, u"MEMBER_UNIQUE_NAME");
}
std::u16string MemberCaptionColumnName(const RESTAxisDimension& dimension) {
    return ColumnName(dimension, u"MEMBER_CAPTION");
}
std::u16string LevelUniqueNameColumnName(const RESTAxisDimension& dimension) {
    return ColumnName(dimension, u"LEVEL_UNIQUE_NAME");
}
std::u16string LevelNumberColumnName(const RESTAxisDimension& dimension) {
    return ColumnName(dimension, u"LEVEL_NUMBER");
}
std::u16string DisplayInfoColumnName(const RESTAxisDimension& dimension) {
    return ColumnName(dimension, u"DISPLAY_INFO");
}
std::u16string ParentUniqueNameColumnName(const RESTAxisDimension& dimension) {
    return ColumnName(dimension, u"PARENT_UNIQUE_NAME");
}
std::u16string MemberNameColumnName(const RESTAxisDimension& dimension) {
    return ColumnName(dimension, u"MEMBER_NAME");
}
std::u16string MemberTypeColumnName(const RESTAxisDimension& dimension) {
    return ColumnName(dimension, u"MEMBER_TYPE");
}
