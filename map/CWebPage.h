// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <string>
#include <vector>

class QObject;
class ScriptDocument;

// Calls functions of a page's script by name with string arguments. Every
// argument reaches the script as a string literal that no text can end
// early, so arguments are always data, never code.
class CWebPage {
public:
  virtual ~CWebPage();

  // Binds the document (the map module's page); false, with the error
  // recorded, for none or for an object that is no page.
  bool BindDocument(QObject* document);
  // The bound page, or false with "NULL pointer" recorded.
  bool GetScriptDispatch(ScriptDocument*& script);
  // Runs name(arguments...) in the page, arguments in their order; the
  // function's result is not awaited. False without a bound page or for a
  // name that is no script identifier.
  bool InvokeScriptFunction(const std::string& name, const std::vector<std::string>& arguments);
  void RecordError(const std::string& message);

  const std::string& LastError() const { return m_strError; }

  // The script text of one call: the function looked up on the page's global
  // object and called only when it is one. Empty for a name that is no
  // identifier.
  static QString ScriptCall(const std::string& name, const std::vector<std::string>& arguments);
  // A JavaScript string literal of UTF-8 text made of printable ASCII only:
  // quotes, backslashes, markup characters, line breaks and everything
  // beyond ASCII are written as \uXXXX escapes.
  static QString StringLiteral(const std::string& text);

private:
  static bool IsIdentifier(const std::string& name);

  QPointer<QObject> m_pDocument;
  std::string m_strError;
};
