// How an axis rowset names dimensions, members and levels, and the names of its columns.
#pragma once

#include <string>

#include "client/json_member.h"
#include "client/rest_axis.h"

// "[" name " <" number ">]"; the name is used unchanged.
std::u16string MakeDimensionUniqueName(const RESTAxisDimension& dimension);
// The parent's unique name (or the dimension's when the member has no parent name), "." and
// "[" name " <" id ">]", with the name's square brackets replaced.
std::u16string MakeMemberUniqueName(const JSONMember& member, const RESTAxisDimension& dimension);
// The dimension's unique name, "." and the bracketed level name of the member's position in
// force ("[]" when the member has none).
std::u16string MakeLevelUniqueName(const JSONMember& member, const RESTAxisDimension& dimension);
// "[" level name "]", the level name unchanged.
std::u16string BracketName(const MemberPosition& position);
// Every '[' and ']' replaced by '|'.
std::u16string ReplaceNameBrackets(std::u16string name);
// Removes spaces and tabs (only those) at both ends.
std::u16string& TrimBlanks(std::u16string& text);

// The axis rowset's column names: "[" dimension name "].[" column "]".
std::u16string MemberUniqueNameColumnName(const RESTAxisDimension& dimension);
std::u16string MemberCaptionColumnName(const RESTAxisDimension& dimension);
std::u16string LevelUniqueNameColumnName(const RESTAxisDimension& dimension);
std::u16string LevelNumberColumnName(const RESTAxisDimension& dimension);
std::u16string DisplayInfoColumnName(const RESTAxisDimension& dimension);
std::u16string ParentUniqueNameColumnName(const RESTAxisDimension& dimension);
std::u16string MemberNameColumnName(const RESTAxisDimension& dimension);
std::u16string MemberTypeColumnName(const RESTAxisDimension& dimension);
