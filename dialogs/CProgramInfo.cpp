// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/CProgramInfo.h"

#include "dialogs/DialogUnits.h"
#include "dialogs/ProgramVersion.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

namespace {

constexpr int kWidthUnits = 224;
constexpr int kHeightUnits = 100;
constexpr int kBottomMarginUnits = 7;

template <typename Widget> Widget* place(Widget* widget, int x, int y, int width, int height) {
  widget->setGeometry(kShellDialogUnits.toPixels(x, y, width, height));
  return widget;
}

// "key<TAB>meaning" lines as a two-column table whose meanings wrap.
QString keyTable(const QString& lines) {
  QString rows;
  for (const QString& line : lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    rows += QStringLiteral("<tr><td nowrap>%1&nbsp;&nbsp;&nbsp;</td><td>%2</td></tr>")
                .arg(line.section(QLatin1Char('\t'), 0, 0).toHtmlEscaped(),
                     line.section(QLatin1Char('\t'), 1).toHtmlEscaped());
  }
  return QStringLiteral("<table cellspacing=\"0\">%1</table>").arg(rows);
}

} // namespace

CProgramInfo::CProgramInfo(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Info"));
  setFixedSize(kShellDialogUnits.toPixelsX(kWidthUnits), kShellDialogUnits.toPixelsY(kHeightUnits));
  CreateControls();
}

QString CProgramInfo::VersionText() { return QString::asprintf(kVersionFormat, kProgramVersion); }

QString CProgramInfo::MakerText() { return QStringLiteral("Lumenark dash-camera viewer\nCopyright (C) Didedeve"); }

void CProgramInfo::CreateControls() {
  m_pOk = place(new QPushButton(QStringLiteral("OK"), this), 167, 7, 50, 14);
  m_pOk->setDefault(true);
  connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
  m_pCancel = place(new QPushButton(QStringLiteral("Cancel"), this), 167, 24, 50, 14);
  connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
  m_pVersion = place(new QLabel(QStringLiteral("Ver 1.0.0.0"), this), 85, 28, 55, 13);
  m_pVersion->setObjectName(QString::number(IDC_VERSION));
  m_pCameraClock = place(new QLabel(this), 19, 45, 145, 20);
  m_pCameraClock->setObjectName(QString::number(IDC_CAMERA_CLOCK));
  m_pCameraClock->setWordWrap(true);
  m_pMaker = place(new QTextEdit(this), 19, 70, 167, 23);
  m_pMaker->setObjectName(QString::number(IDC_MAKER));
  m_pMaker->setLineWrapMode(QTextEdit::NoWrap);
  m_pMaker->setAcceptRichText(false);
  m_pMaker->setTabChangesFocus(true);
}

// Laid out when the dialog opens: the rich-text table's layout takes longer
// than the rest of the main window's set-up.
void CProgramInfo::SetKeyHelp(const QString& lines) { m_strKeyHelp = lines; }

void CProgramInfo::ShowKeyHelp() {
  if (m_strKeyHelp.isEmpty())
    return;
  if (!m_pKeys) {
    m_pKeys = new QLabel(this);
    m_pKeys->setObjectName(QString::number(IDC_KEYS));
    m_pKeys->setTextFormat(Qt::RichText);
    m_pKeys->setWordWrap(true);
  }
  m_pKeys->setText(keyTable(m_strKeyHelp));
  const QRect area = kShellDialogUnits.toPixels(19, kHeightUnits - 4, kWidthUnits - 38, 0);
  m_pKeys->setGeometry(area.x(), area.y(), area.width(), m_pKeys->heightForWidth(area.width()));
  setFixedSize(kShellDialogUnits.toPixelsX(kWidthUnits),
               m_pKeys->geometry().bottom() + kShellDialogUnits.toPixelsY(kBottomMarginUnits));
  m_strKeyHelp.clear();
}

// The keys' table is sized before the dialog is placed over its parent.
void CProgramInfo::setVisible(bool visible) {
  if (visible)
    ShowKeyHelp();
  QDialog::setVisible(visible);
}

void CProgramInfo::SetCameraClock(const QString& line) { m_pCameraClock->setText(line); }

void CProgramInfo::showEvent(QShowEvent* event) {
  OnInitDialog();
  QDialog::showEvent(event);
}

// Runs at every opening, as the dialog is built anew each time it is shown.
void CProgramInfo::OnInitDialog() {
  m_pMaker->setPlainText(MakerText());
  m_pMaker->selectAll();
  m_pMaker->setAlignment(Qt::AlignCenter);
  m_pMaker->moveCursor(QTextCursor::Start);
  m_pVersion->setText(VersionText());
  m_pOk->setFocus();
}
