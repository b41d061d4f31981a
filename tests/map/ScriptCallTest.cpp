// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/CMapView.h"
#include "map/CWebPage.h"

#include <QObject>
#include <gtest/gtest.h>

// The call text names the function as data and calls it only when the page
// defines it, with every argument a string.
TEST(ScriptCall, CallsTheNamedFunctionWithStringArguments) {
  EXPECT_EQ(CWebPage::ScriptCall("SetGpsLatLon", {"37.566500", " 126.978000"}),
            "(function (f) { if (typeof f === 'function') f(\"37.566500\", \" 126.978000\"); })"
            "(window[\"SetGpsLatLon\"]);");
  EXPECT_EQ(CWebPage::ScriptCall("Go", {}), "(function (f) { if (typeof f === 'function') f(); })(window[\"Go\"]);");
}

TEST(ScriptCall, RefusesNamesThatAreNoIdentifier) {
  for (const char* name : {"", "1st", "a(b)", "x;alert(1)", "window.open", "a b", "é"})
    EXPECT_TRUE(CWebPage::ScriptCall(name, {"1"}).isEmpty()) << name;
}

// Any text that could end the literal, open markup or break the line comes
// out as an escape; what the script reads back is the same text.
TEST(ScriptCall, LiteralsCannotEndEarly) {
  const struct {
    const char* text;
    const char* literal;
  } cases[] = {
      {"plain 48.1", "\"plain 48.1\""},
      {"\"); alert(1); (\"", "\"\\u0022); alert(1); (\\u0022\""},
      {"\\\"", "\"\\u005c\\u0022\""},
      {"'", "\"\\u0027\""},
      {"</script>", "\"\\u003c\\u002fscript\\u003e\""},
      {"a\nb\r", "\"a\\u000ab\\u000d\""},
      {"\xe2\x80\xa8", "\"\\u2028\""},
      {"\xc3\xbc", "\"\\u00fc\""},
      {"\xf0\x9f\x9a\x97", "\"\\ud83d\\ude97\""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CWebPage::StringLiteral(c.text).toStdString(), c.literal) << c.text;
}

TEST(ScriptCall, EveryByteGivesPrintableAsciiWithoutQuotes) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte)
    all += char(byte);
  const QString literal = CWebPage::StringLiteral(all);
  const QString inner = literal.mid(1, literal.size() - 2);
  for (const QChar c : inner) {
    EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() < 0x7f) << c.unicode();
    EXPECT_NE(c, QLatin1Char('"'));
  }
  EXPECT_EQ(inner.count(QLatin1Char('\\')), inner.count(QLatin1String("\\u")));
}

TEST(ScriptCall, SplitsTheArgumentListUpToTheFirstEmptyToken) {
  const struct {
    const char* list;
    std::vector<std::string> tokens;
  } cases[] = {
      {"37.5, 127.0", {"37.5", " 127.0"}}, {"a,,b", {"a"}}, {"", {}}, {"a,", {"a"}}, {",a", {}},
      {" a , b ", {" a ", " b "}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CMapView::SplitArguments(c.list), c.tokens) << c.list;
}

TEST(ScriptCall, RecordsWhyACallCannotBeMade) {
  CWebPage page;
  EXPECT_FALSE(page.InvokeScriptFunction("SetGpsLatLon", {"1", " 2"}));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nNULL pointer");
  QObject notAPage;
  EXPECT_FALSE(page.BindDocument(&notAPage));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nFailed to get HTML document COM object");
  EXPECT_FALSE(page.BindDocument(nullptr));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nNULL pointer");
}
