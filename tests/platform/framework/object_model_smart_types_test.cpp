// Smart types: reference ownership of CComPtr/CComQIPtr, CComBSTR text and ownership, CComVariant
// values, copies and clearing.
#include <gtest/gtest.h>

#include "atl_com.h"
#include "object_model_test_types.h"

namespace {

// Counts references without ever deleting itself.
class CountingFoo : public ITestFoo {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_ITestFoo) return E_NOINTERFACE;
        *ppv = static_cast<ITestFoo*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD_(int, Foo)() override { return 5; }
    ULONG refs = 0;
};

TEST(CComPtrTest, HoldsExactlyOneReference) {
    CountingFoo foo;
    {
        CComPtr<ITestFoo> first(&foo);
        EXPECT_EQ(1u, foo.refs);
        CComPtr<ITestFoo> copy(first);
        EXPECT_EQ(2u, foo.refs);
        CComPtr<ITestFoo> moved(std::move(copy));
        EXPECT_EQ(2u, foo.refs);
        EXPECT_FALSE(copy);  // NOLINT(bugprone-use-after-move): moved-from is empty
        moved = first;       // same object: no change
        EXPECT_EQ(2u, foo.refs);
        moved = nullptr;
        EXPECT_EQ(1u, foo.refs);
        ITestFoo* out = nullptr;
        EXPECT_EQ(S_OK, first.CopyTo(&out));
        EXPECT_EQ(2u, foo.refs);
        out->Release();
        EXPECT_EQ(E_POINTER, first.CopyTo(nullptr));
        ITestFoo* detached = first.Detach();
        EXPECT_EQ(1u, foo.refs);
        first.Attach(detached);
        EXPECT_EQ(1u, foo.refs);
        CComPtr<ITestFoo>& same = first;
        first = same;  // self-assignment keeps the reference
        EXPECT_EQ(1u, foo.refs);
    }
    EXPECT_EQ(0u, foo.refs);
}

TEST(CComPtrTest, QueryInterfaceAndIdentity) {
    CountingFoo foo;
    CComPtr<IUnknown> unknown(static_cast<IUnknown*>(&foo));
    CComQIPtr<ITestFoo> asFoo(unknown);
    ASSERT_TRUE(asFoo);
    EXPECT_EQ(2u, foo.refs);
    CComQIPtr<ITestBar> asBar(unknown);
    EXPECT_FALSE(asBar);
    EXPECT_TRUE(unknown.IsEqualObject(asFoo));
    EXPECT_EQ(2u, foo.refs);
    CComPtr<ITestBar> bar;
    EXPECT_EQ(E_NOINTERFACE, unknown.QueryInterface(&bar));
    CComPtr<ITestFoo> empty;
    EXPECT_EQ(E_POINTER, empty.QueryInterface(&bar));
    EXPECT_FALSE(empty.IsEqualObject(unknown));
    EXPECT_TRUE(empty.IsEqualObject(nullptr));
    asFoo = static_cast<IUnknown*>(nullptr);
    EXPECT_EQ(1u, foo.refs);
}

TEST(CComBSTRTest, OwnsItsStringAndKeepsEmbeddedNuls) {
    CComBSTR text(u"abc");
    EXPECT_EQ(3u, text.Length());
    EXPECT_EQ(6u, text.ByteLength());
    CComBSTR nul(3, u"a\0b");
    EXPECT_EQ(3u, nul.Length());
    CComBSTR copy(nul);
    EXPECT_EQ(nul, copy);
    EXPECT_NE(nul.m_str, copy.m_str);
    EXPECT_FALSE(nul == CComBSTR(u"a"));
    EXPECT_EQ(S_OK, text.Append(nul));
    EXPECT_EQ(6u, text.Length());
    EXPECT_EQ(std::u16string(u"abca\0b", 6), std::u16string(text.View()));
    text += u"!";
    EXPECT_EQ(7u, text.Length());
    BSTR out = nullptr;
    EXPECT_EQ(S_OK, text.CopyTo(&out));
    EXPECT_EQ(7u, SysStringLen(out));
    SysFreeString(out);
    EXPECT_EQ(E_POINTER, text.CopyTo(nullptr));
    text.Empty();
    EXPECT_TRUE(!text);
    EXPECT_EQ(0u, text.Length());
    EXPECT_TRUE(text == nullptr);
}

TEST(CComBSTRTest, NullAndEmptyDiffer) {
    CComBSTR null;
    CComBSTR empty(u"");
    EXPECT_TRUE(!null);
    EXPECT_FALSE(!empty);
    EXPECT_NE(null, empty);
    EXPECT_TRUE(null == static_cast<LPCOLESTR>(nullptr));
    EXPECT_FALSE(empty == static_cast<LPCOLESTR>(nullptr));
    EXPECT_TRUE(empty == u"");
    BSTR out = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(S_OK, null.CopyTo(&out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(S_OK, null.Append(u"x"));
    EXPECT_EQ(u"x", std::u16string(null.View()));
    EXPECT_EQ(E_INVALIDARG, null.Append(nullptr, 2));
    EXPECT_EQ(E_INVALIDARG, null.Append(u"x", -1));
}

TEST(CComBSTRTest, ConversionsFromUtf8AndGuids) {
    CComBSTR fromUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(u"caf\u00e9 \U0001F600", std::u16string(fromUtf8.View()));
    CComBSTR broken("\xC3");
    EXPECT_EQ(u"\uFFFD", std::u16string(broken.View()));
    CComBSTR guid(IID_IUnknown);
    EXPECT_EQ(u"{00000000-0000-0000-C000-000000000046}", std::u16string(guid.View()));
    CComBSTR moved(std::move(guid));
    EXPECT_TRUE(!guid);  // NOLINT(bugprone-use-after-move): moved-from is null
    EXPECT_EQ(38u, moved.Length());
    BSTR raw = moved.Detach();
    EXPECT_TRUE(!moved);
    moved.Attach(raw);
    EXPECT_EQ(38u, moved.Length());
}

TEST(CComVariantTest, ConstructorsPickThePublishedTypes) {
    EXPECT_EQ(VT_EMPTY, CComVariant().vt);
    EXPECT_EQ(VT_BOOL, CComVariant(true).vt);
    EXPECT_EQ(VARIANT_TRUE, CComVariant(true).boolVal);
    EXPECT_EQ(VT_I4, CComVariant(7).vt);
    EXPECT_EQ(VT_UI4, CComVariant(7u).vt);
    EXPECT_EQ(VT_I2, CComVariant(static_cast<short>(7)).vt);
    EXPECT_EQ(VT_UI1, CComVariant(static_cast<BYTE>(7)).vt);
    EXPECT_EQ(VT_I8, CComVariant(static_cast<LONGLONG>(7)).vt);
    EXPECT_EQ(VT_R8, CComVariant(7.5).vt);
    EXPECT_EQ(VT_R4, CComVariant(7.5f).vt);
    EXPECT_EQ(VT_DATE, CComVariant(1.0, VT_DATE).vt);
    CComVariant text(u"hello");
    EXPECT_EQ(VT_BSTR, text.vt);
    EXPECT_EQ(5u, SysStringLen(text.bstrVal));
    CComVariant utf8("h\xC3\xA9");
    EXPECT_EQ(2u, SysStringLen(utf8.bstrVal));
}

TEST(CComVariantTest, CopiesOwnTheirContents) {
    CComVariant text(u"hello");
    CComVariant copy(text);
    EXPECT_NE(text.bstrVal, copy.bstrVal);
    EXPECT_TRUE(copy == text);
    copy = 5;
    EXPECT_EQ(VT_I4, copy.vt);
    EXPECT_FALSE(copy == text);
    CComVariant moved(std::move(text));
    EXPECT_EQ(VT_EMPTY, text.vt);  // NOLINT(bugprone-use-after-move): moved-from is empty
    EXPECT_EQ(VT_BSTR, moved.vt);
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(S_OK, moved.Detach(&out));
    EXPECT_EQ(VT_EMPTY, moved.vt);
    EXPECT_EQ(VT_BSTR, out.vt);
    EXPECT_EQ(S_OK, moved.Attach(&out));
    EXPECT_EQ(VT_EMPTY, out.vt);
    BSTR bstr = nullptr;
    EXPECT_EQ(S_OK, moved.CopyTo(&bstr));
    EXPECT_EQ(5u, SysStringLen(bstr));
    SysFreeString(bstr);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, copy.CopyTo(&bstr));
    EXPECT_EQ(nullptr, bstr);
    EXPECT_EQ(S_OK, moved.Clear());
    EXPECT_EQ(VT_EMPTY, moved.vt);
}

TEST(CComVariantTest, InterfacePointersAreCounted) {
    CountingFoo foo;
    {
        CComVariant unknown(static_cast<IUnknown*>(&foo));
        EXPECT_EQ(1u, foo.refs);
        CComVariant copy(unknown);
        EXPECT_EQ(2u, foo.refs);
        EXPECT_EQ(copy.punkVal, unknown.punkVal);
    }
    EXPECT_EQ(0u, foo.refs);
}

TEST(CComVariantTest, ChangeTypeInPlace) {
    CComVariant number(42);
    ASSERT_EQ(S_OK, number.ChangeType(VT_BSTR));
    EXPECT_EQ(VT_BSTR, number.vt);
    EXPECT_EQ(u"42", std::u16string(number.bstrVal, SysStringLen(number.bstrVal)));
    CComVariant target;
    ASSERT_EQ(S_OK, target.ChangeType(VT_I4, &number));
    EXPECT_EQ(42, target.lVal);
}

}  // namespace
