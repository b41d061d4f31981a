// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/CWebPage.h"

#include "map/MapBrowser.h"

namespace {

bool isPlainLiteralChar(char16_t c) {
  if (c < 0x20 || c > 0x7e)
    return false;
  switch (c) {
  case '"':
  case '\'':
  case '\\':
  case '<':
  case '>':
  case '&':
  case '/':
    return false;
  default:
    return true;
  }
}

bool isIdentifierChar(char c, bool first) {
  const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$';
  return letter || (!first && c >= '0' && c <= '9');
}

} // namespace

CWebPage::~CWebPage() = default;

bool CWebPage::BindDocument(QObject* document) {
  if (!document) {
    RecordError("NULL pointer");
    return false;
  }
  m_pDocument = qobject_cast<ScriptDocument*>(document) ? document : nullptr;
  if (!m_pDocument) {
    RecordError("Failed to get HTML document COM object");
    return false;
  }
  return true;
}

bool CWebPage::GetScriptDispatch(ScriptDocument*& script) {
  script = qobject_cast<ScriptDocument*>(m_pDocument.data());
  if (!script) {
    RecordError("NULL pointer");
    return false;
  }
  return true;
}

bool CWebPage::InvokeScriptFunction(const std::string& name, const std::vector<std::string>& arguments) {
  ScriptDocument* script = nullptr;
  if (!GetScriptDispatch(script))
    return false;
  const QString call = ScriptCall(name, arguments);
  if (call.isEmpty())
    return false;
  script->RunScript(call);
  return true;
}

void CWebPage::RecordError(const std::string& message) { m_strError = "JSCall Error:\n" + message; }

bool CWebPage::IsIdentifier(const std::string& name) {
  if (name.empty())
    return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (!isIdentifierChar(name[i], i == 0))
      return false;
  return true;
}

QString CWebPage::ScriptCall(const std::string& name, const std::vector<std::string>& arguments) {
  if (!IsIdentifier(name))
    return {};
  QString list;
  for (const std::string& argument : arguments) {
    if (!list.isEmpty())
      list += QLatin1String(", ");
    list += StringLiteral(argument);
  }
  return QStringLiteral("(function (f) { if (typeof f === 'function') f(%1); })(window[%2]);")
      .arg(list, StringLiteral(name));
}

QString CWebPage::StringLiteral(const std::string& text) {
  const QString utf16 = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QString literal(QLatin1Char('"'));
  literal.reserve(utf16.size() + 2);
  for (const QChar c : utf16) {
    if (isPlainLiteralChar(c.unicode()))
      literal += c;
    else
      literal += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
  }
  literal += QLatin1Char('"');
  return literal;
}
