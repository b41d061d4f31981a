// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/WindowPrinter.h"

#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>

WindowPrinter::WindowPrinter() : m_choose(&WindowPrinter::RunPrintDialog) {}

WindowPrinter::~WindowPrinter() = default;

// No parent: the dialog stands on its own, as the platform's print dialog does.
bool WindowPrinter::RunPrintDialog(QPrinter& printer) {
  QPrintDialog dialog(&printer, nullptr);
  return dialog.exec() == QDialog::Accepted;
}

QPixmap WindowPrinter::WindowPicture(QWidget& window) { return window.grab(); }

void WindowPrinter::Print(QWidget& window) {
  // Taken first, so that the dialog never shows in the picture.
  const QPixmap picture = WindowPicture(window);
  if (!m_printer)
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!m_choose(*m_printer))
    return;
  if (!PrintPicture(picture))
    QMessageBox(QMessageBox::Warning, QStringLiteral("Lumenark"),
                QStringLiteral("The printer did not accept the job; nothing was printed."), QMessageBox::Ok, &window)
        .exec();
}

bool WindowPrinter::PrintPicture(const QPixmap& picture) {
  const QPageLayout::Orientation chosen = m_printer->pageLayout().orientation();
  m_printer->setPageOrientation(QPageLayout::Landscape);
  m_printer->setDocName(QStringLiteral("VOD"));
  QPainter painter;
  const bool started = painter.begin(m_printer.get());
  if (started) {
    // The window's size from its top-left corner, whatever its real size;
    // the aspect ratio is not kept.
    const qreal ratio = picture.devicePixelRatio();
    const QRectF source(0, 0, kPictureSize.width() * ratio, kPictureSize.height() * ratio);
    const QRect page = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
    painter.drawPixmap(QRectF(0, 0, page.width(), page.height()), picture, source);
    painter.end();
  }
  m_printer->setPageOrientation(chosen);
  return started;
}
