// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <functional>
#include <memory>

class QPixmap;
class QPrinter;
class QWidget;

// Prints a picture of the main window on one landscape page, stretched over
// the printable area. The printer chosen in the dialog is kept for the next
// print; the landscape setting applies to the job only.
class WindowPrinter {
public:
  // Lets the user choose and set up the printer; false prints nothing.
  using Chooser = std::function<bool(QPrinter&)>;

  static constexpr QSize kPictureSize{1010, 790};

  WindowPrinter();
  ~WindowPrinter();
  WindowPrinter(const WindowPrinter&) = delete;
  WindowPrinter& operator=(const WindowPrinter&) = delete;

  // Replaces the print dialog, so tests can print to a file unattended.
  void SetChooser(Chooser chooser) { m_choose = std::move(chooser); }

  // Takes the window's picture, then asks for the printer and prints. A job
  // the printer refuses is reported in a message box over `window`.
  void Print(QWidget& window);

  // The window as it renders itself, child widgets (video, map) included.
  static QPixmap WindowPicture(QWidget& window);

private:
  static bool RunPrintDialog(QPrinter& printer);
  bool PrintPicture(const QPixmap& picture);

  std::unique_ptr<QPrinter> m_printer;
  Chooser m_choose;
};
