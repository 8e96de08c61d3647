// MDX answers of the service as JSON text, and a consumer's shortcuts for the result tests:
// a command on a fresh data source, Execute, accessors and bindings.
#pragma once

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "provider_fixture.h"

namespace results_test {

inline std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

struct MemberSpec {
    MemberSpec(std::string id, std::string name, std::string alias = "", int numChildren = 0,
               int level = 1, std::string levelName = "Level", std::string parentId = "P",
               std::string parentName = "", bool isAttribute = false)
        : id(std::move(id)),
          name(std::move(name)),
          alias(std::move(alias)),
          numChildren(numChildren),
          level(level),
          levelName(std::move(levelName)),
          parentId(std::move(parentId)),
          parentName(std::move(parentName)),
          isAttribute(isAttribute) {}
    std::string id;
    std::string name;
    std::string alias;
    int numChildren = 0;
    int level = 1;
    std::string levelName = "Level";
    std::string parentId = "P";
    std::string parentName;
    bool isAttribute = false;
};

inline std::string MemberJson(const MemberSpec& m) {
    return "{\"id\":" + Quoted(m.id) + ",\"name\":" + Quoted(m.name) +
           ",\"alias\":" + Quoted(m.alias) + ",\"numChildren\":" + std::to_string(m.numChildren) +
           ",\"numPositions\":1,\"dimensionNumber\":1,\"mdxMemberOrdinal\":0,\"isAttribute\":" +
           (m.isAttribute ? "true" : "false") +
           ",\"isExpression\":false,\"positions\":[{\"mdxParentMemberId\":" + Quoted(m.parentId) +
           ",\"mdxParentMemberName\":" + Quoted(m.parentName) +
           ",\"level\":" + std::to_string(m.level) + ",\"levelName\":" + Quoted(m.levelName) +
           "}]}";
}

inline std::string MembersJson(const std::vector<MemberSpec>& members) {
    std::string text = "[";
    for (size_t i = 0; i < members.size(); ++i) text += (i ? "," : "") + MemberJson(members[i]);
    return text + "]";
}

struct DimensionSpec {
    int number = 1;
    std::string name;
    bool parentUniqueName = false;
    bool memberName = false;
    bool memberType = false;
    std::vector<MemberSpec> members;
};

inline std::string DimensionJson(const DimensionSpec& d) {
    return "{\"dimensionNumber\":" + std::to_string(d.number) +
           ",\"dimensionName\":" + Quoted(d.name) +
           ",\"memberParentUniqueName\":" + (d.parentUniqueName ? "true" : "false") +
           ",\"memberName\":" + (d.memberName ? "true" : "false") +
           ",\"memberType\":" + (d.memberType ? "true" : "false") +
           ",\"members\":" + MembersJson(d.members) + "}";
}

// An axis whose tuples the client builds as the cross product of its dimensions' members.
inline std::string AxisJson(const std::string& type, const std::vector<DimensionSpec>& dims) {
    std::string text = "{\"type\":" + Quoted(type) + ",\"dimensions\":[";
    for (size_t i = 0; i < dims.size(); ++i) text += (i ? "," : "") + DimensionJson(dims[i]);
    return text + "]}";
}

// An axis that lists its tuples.
inline std::string AxisWithTuplesJson(const std::string& type,
                                      const std::vector<DimensionSpec>& dims,
                                      const std::vector<std::vector<MemberSpec>>& tuples) {
    std::string text = AxisJson(type, dims);
    text.pop_back();
    text += ",\"crossProductTuples\":[";
    for (size_t i = 0; i < tuples.size(); ++i)
        text += std::string(i ? "," : "") + "{\"members\":" + MembersJson(tuples[i]) + "}";
    return text + "]}";
}

inline std::string AnswerJson(int numRows, int numColumns, const std::vector<std::string>& values,
                              const std::vector<std::string>& axes) {
    std::string text = "{\"values\":{\"numRows\":" + std::to_string(numRows) +
                       ",\"numColumns\":" + std::to_string(numColumns) + ",\"values\":[";
    for (size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + Quoted(values[i]);
    text += "]},\"axes\":[";
    for (size_t i = 0; i < axes.size(); ++i) text += (i ? "," : "") + axes[i];
    return text + "]}";
}

inline std::string DrillThroughJson(const std::vector<std::string>& header,
                                    const std::vector<std::vector<std::string>>& rows, int numRows,
                                    int numColumns) {
    std::string text = "{\"drillThrough\":true,\"drillThroughResult\":{\"header\":[";
    for (size_t i = 0; i < header.size(); ++i) text += (i ? "," : "") + Quoted(header[i]);
    text += "],\"values\":[";
    for (size_t r = 0; r < rows.size(); ++r) {
        text += r ? ",[" : "[";
        for (size_t c = 0; c < rows[r].size(); ++c) text += (c ? "," : "") + Quoted(rows[r][c]);
        text += "]";
    }
    return text + "],\"numRows\":" + std::to_string(numRows) +
           ",\"numColumns\":" + std::to_string(numColumns) + "}}";
}

// The sample answer: COLUMNS with Account (2 members), ROWS with Product (3 members, all three
// optional columns); six cells.
inline std::string SampleAnswer() {
    DimensionSpec account{1,     "Account", false,
                          false, false,     {{"a1", "Sales", "S"}, {"a2", "Costs", ""}}};
    DimensionSpec product{
        3,
        "Product",
        true,
        true,
        true,
        {{"p1", "Widget", "W1", 2, 1, "Category", "P0", "[Product <3>].[All <0>]"},
         {"p2", "Gadget", "", 0, 2, "Item", "P0", ""},
         {"p3", "A[1]", "  ", 70000, 0, "(All)", "P0", ""}}};
    return AnswerJson(3, 2, {"12.5", "-3e2", " 7", "abc", "", "1e999"},
                      {AxisJson("COLUMNS", {account}), AxisJson("ROWS", {product})});
}

inline DBBINDING Binding(DBORDINAL ordinal, DBTYPE type, DBBYTEOFFSET value, DBBYTEOFFSET status,
                         DBBYTEOFFSET length = 0, DBPART parts = DBPART_VALUE | DBPART_STATUS) {
    DBBINDING binding{};
    binding.iOrdinal = ordinal;
    binding.obValue = value;
    binding.obStatus = status;
    binding.obLength = length;
    binding.dwPart = parts;
    binding.dwMemOwner = DBMEMOWNER_CLIENTOWNED;
    binding.eParamIO = DBPARAMIO_NOTPARAM;
    binding.cbMaxLen = type == DBTYPE_WSTR ? 2048 : 8;
    binding.wType = type;
    return binding;
}

inline std::u16string Text(const BYTE* at) {
    return std::u16string(reinterpret_cast<const char16_t*>(at));
}

template <class T>
T ValueAt(const BYTE* row, size_t offset) {
    T value;
    std::memcpy(&value, row + offset, sizeof(value));
    return value;
}

class ResultsTest : public provider_test::ProviderTest {
  protected:
    // A command of a new session of a new data source; the option text goes to "Data Source".
    static CComPtr<ICommandText> NewCommand(const char16_t* option = nullptr) {
        CComPtr<IDBInitialize> dataSource = CreateDataSource();
        if (!dataSource) return nullptr;
        std::u16string optionText = option != nullptr ? option : u"";
        EXPECT_EQ(SetCredentials(dataSource, u"ann", u"pw", option ? &optionText : nullptr), S_OK);
        EXPECT_EQ(dataSource->Initialize(), S_OK);
        CComPtr<IUnknown> session = OpenSession(dataSource);
        if (!session) return nullptr;
        return CreateCommand(session);
    }

    static HRESULT Run(ICommandText* command, const std::string& statement, REFIID riid,
                       IUnknown** rowset, DBROWCOUNT* rowsAffected = nullptr) {
        const std::u16string text(statement.begin(), statement.end());
        const HRESULT hr = command->SetCommandText(MDGUID_MDX, text.c_str());
        if (FAILED(hr)) return hr;
        return command->Execute(nullptr, riid, nullptr, rowsAffected, rowset);
    }

    // Sets the answer and runs the statement for a dataset.
    static CComPtr<IMDDataset> Dataset(ICommandText* command, const std::string& statement,
                                       const std::string& answer) {
        Standin().SetMdxAnswer(statement, answer);
        CComPtr<IMDDataset> dataset;
        EXPECT_EQ(Run(command, statement, IID_IMDDataset, reinterpret_cast<IUnknown**>(&dataset)),
                  S_OK);
        return dataset;
    }

    static HACCESSOR Accessor(IUnknown* object, const std::vector<DBBINDING>& bindings,
                              DBLENGTH rowSize, HRESULT expected = S_OK) {
        CComQIPtr<IAccessor> accessor(object);
        HACCESSOR handle = DB_NULL_HACCESSOR;
        std::vector<DBBINDSTATUS> statuses(bindings.size());
        EXPECT_EQ(accessor->CreateAccessor(DBACCESSOR_ROWDATA, bindings.size(), bindings.data(),
                                           rowSize, &handle, statuses.data()),
                  expected);
        return handle;
    }

    static RESTData* ResultOf(ICommandText* command) {
        CComQIPtr<IExtendCommand> extend(command);
        RESTData* data = nullptr;
        if (extend) {
            EXPECT_EQ(extend->GetRESTData(&data), S_OK);
        }
        return data;
    }

    // Every row of a rowset through GetNextRows and GetData, each into rowSize bytes.
    static std::vector<std::vector<BYTE>> ReadAllRows(IRowset* rowset, HACCESSOR accessor,
                                                      size_t rowSize) {
        std::vector<std::vector<BYTE>> rows;
        for (;;) {
            DBCOUNTITEM obtained = 0;
            HROW* handles = nullptr;
            const HRESULT hr = rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 10, &obtained, &handles);
            EXPECT_TRUE(hr == S_OK || hr == DB_S_ENDOFROWSET) << std::hex << hr;
            for (DBCOUNTITEM i = 0; i < obtained; ++i) {
                rows.emplace_back(rowSize, 0);
                EXPECT_EQ(rowset->GetData(handles[i], accessor, rows.back().data()), S_OK);
            }
            if (obtained != 0) rowset->ReleaseRows(obtained, handles, nullptr, nullptr, nullptr);
            CoTaskMemFree(handles);
            if (hr != S_OK || obtained == 0) break;
        }
        return rows;
    }

    size_t MdxRequests() const {
        size_t count = 0;
        for (const HttpRequest& request : Standin().GetRequests())
            if (request.path.find("mdx") != std::string::npos) ++count;
        return count;
    }
};

}  // namespace results_test
