// A generated MDX answer as the service would give it, for the benchmarks.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace mdx_answer {

inline std::string MemberJson(const std::string& id, const std::string& name, int level,
                              const std::string& parent) {
    return R"({"id":")" + id + R"(","name":")" + name + R"(","alias":"","numChildren":0,)" +
           R"("numPositions":1,"dimensionNumber":1,"mdxMemberOrdinal":)" + id.substr(1) +
           R"(,"isAttribute":false,"isExpression":false,"positions":[{"mdxParentMemberId":")" +
           parent + R"(","mdxParentMemberName":"[D].[)" + parent + R"(]","level":)" +
           std::to_string(level) + R"(,"levelName":"Level )" + std::to_string(level) + R"("}]})";
}

inline std::string AxisJson(const char* type, const char* dimension, int number, int count,
                            char prefix) {
    std::vector<std::string> members;
    members.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::string id = prefix + std::to_string(i);
        members.push_back(MemberJson(id, std::string(dimension) + " member " + std::to_string(i), 2,
                                     std::string(1, prefix) + std::to_string(i / 10)));
    }
    std::string text = std::string(R"({"type":")") + type + R"(","dimensions":[{)" +
                       R"("dimensionNumber":)" + std::to_string(number) + R"(,"dimensionName":")" +
                       dimension +
                       R"(","memberParentUniqueName":true,"memberName":true,"memberType":true,)" +
                       R"("members":[)";
    for (int i = 0; i < count; ++i) {
        text += (i ? "," : "") + members[i];
    }
    text += R"(],"parentMemberPositions":[]}],"crossProductTuples":[)";
    for (int i = 0; i < count; ++i) {
        text += std::string(i ? "," : "") + R"({"members":[)" + members[i] +
                R"(],"parentMemberPositions":[0]})";
    }
    return text + "]}";
}

// A planning model's figures (two decimals, four to eight characters) in a table of rows by
// columns, with one dimension of as many members on each axis.
inline std::string MdxAnswerJson(int rows, int columns) {
    std::string text = R"({"values":{"numRows":)" + std::to_string(rows) + R"(,"numColumns":)" +
                       std::to_string(columns) + R"(,"values":[)";
    unsigned int seed = 12345;
    char cell[32];
    for (int i = 0; i < rows * columns; ++i) {
        seed = seed * 1103515245u + 12345u;
        unsigned int cents = (seed >> 8) % 10000000u;
        std::snprintf(cell, sizeof cell, "%s\"%u.%02u\"", i ? "," : "", cents / 100, cents % 100);
        text += cell;
    }
    text += "]},\"axes\":[" + AxisJson("COLUMNS", "Account", 1, columns, 'a') + "," +
            AxisJson("ROWS", "Product", 2, rows, 'p') + "]}";
    return text;
}

}  // namespace mdx_answer
