// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/CDlgTimeSet.h"

#include "dialogs/DialogUnits.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kWidthUnits = 275;
// The template's 222 and a row for the camera's clock.
constexpr int kHeightUnits = 240;
constexpr int kListMargin = 24;

const char kHintText[] = "Please make sure the driver both SD card and PC";
const char kCommentText[] =
    "<Comment> \n\n1.Please insert SD card to card reader equipment provided and connect with PC. \r\n2. To create "
    "existing time of the PC in SD card as the file.(Timeset.txt)\r\n 3.Please power on the unit with SD card in "
    "UserTimeset.txt file included.  \r\n 4.The unit set up the time of the unit and the files should be deleted.";
const char kNoCardDriveText[] = "Please insert SD card to card reader equipment provided and connect with PC.";
const char kNoSetupIniText[] = "Can not find /setup/vuviraru_rizor.ini \r\n\nYou should select directly next page "
                               "that SD card set up which driver in PC. ";
const char kNoDriveSelectedText[] = "Please select PC driver connected to SD card.";
const char kCreatedText[] = "   \r\n System Time setup file Created. . \r\n\n Please check if usertimeset.txt is "
                            "included in SD card. And the unit system time should set up when power on the units "
                            "with the SD card.";
const char kSetupIniPath[] = "setup/vuviraru_rizor.ini";
const char kTimeSetFileName[] = "usertimeset.txt";

// A carriage return before a line feed is one line break, as the texts were written for.
QString displayText(const char* text) { return QString::fromLatin1(text).replace(QLatin1String("\r\n"), "\n"); }

// The drive box shows a volume's mount point without its trailing separator.
QString entryText(const std::string& root) {
  const bool plainRoot = root.size() <= 1;
  return QString::fromStdString(plainRoot ? root : root.substr(0, root.size() - 1));
}

// The template's 8-point font, in the family the system uses for dialogs.
QFont templateFont() {
  QFont font = QApplication::font();
  font.setPointSize(8);
  return font;
}

// Dialog units of that font as measured here, so that every text fits the
// control laid out for it whatever font stands in for the template's.
DialogUnits unitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int averageWidth = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
  return DialogUnits(averageWidth, metrics.height());
}

QLabel* staticText(QWidget* parent, const QString& text, int id) {
  auto* label = new QLabel(text, parent);
  if (id)
    label->setObjectName(QString::number(id));
  return label;
}

} // namespace

CDlgTimeSet::CDlgTimeSet(QWidget* parent, VolumeLister listVolumes)
    : QDialog(parent), m_listVolumes(std::move(listVolumes)), m_units(unitsOf(templateFont())) {
  setWindowTitle(QStringLiteral("Time Set."));
  setFont(templateFont());
  setFixedSize(m_units.toPixelsX(kWidthUnits), m_units.toPixelsY(kHeightUnits));
  CreateControls();
  BindMessageMap();
}

void CDlgTimeSet::CreateControls() {
  m_pExit = Place(new QPushButton(QStringLiteral("Exit"), this), 191, 201, 72, 14);
  m_pExit->setDefault(true);
  Place(new QGroupBox(QStringLiteral("Select a SD Card Drive"), this), 17, 12, 245, 64);
  Place(staticText(this, QStringLiteral("SD card driver connected with PC :"), 0), 59, 55, 112, 8);
  // Mount points are longer than drive letters: the box reaches to the group's
  // edge, its list opens as wide as its entries, and the tooltip shows the
  // whole path.
  m_pDriveBox = Place(new QComboBox(this), 177, 52, 80, 13);
  m_pDriveBox->setObjectName(QString::number(IDC_DRIVE_BOX));
  m_pDriveBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(m_pDriveBox, &QComboBox::currentTextChanged, m_pDriveBox, &QWidget::setToolTip);
  Place(new QGroupBox(QStringLiteral("Time Set"), this), 17, 82, 245, 115);
  m_pCreate = Place(new QPushButton(QStringLiteral("To Create of the time setting file."), this), 41, 94, 113, 15);
  m_pCreate->setObjectName(QString::number(IDC_CREATE));
  m_pComment = Place(staticText(this, QString(), IDC_COMMENT), 23, 118, 232, 70);
  m_pComment->setWordWrap(true);
  m_pComment->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_pHint = Place(staticText(this, QString(), IDC_HINT), 29, 25, 221, 26);
  m_pWrittenTime = Place(staticText(this, QString(), IDC_WRITTEN_TIME), 163, 95, 87, 11);
  m_pCameraClock = Place(staticText(this, QString(), IDC_CAMERA_CLOCK), 17, 202, 170, 12);
  m_pWriteCorrected =
      Place(new QPushButton(QStringLiteral("Write the camera's corrected time"), this), 17, 218, 170, 15);
  m_pWriteCorrected->setObjectName(QString::number(IDC_WRITE_CORRECTED));
  m_pWriteCorrected->setEnabled(false);
  // Group boxes are drawn below the controls they frame.
  for (QGroupBox* box : findChildren<QGroupBox*>())
    box->lower();
}

// The create button, the drive box's selection change and Exit; Enter presses
// the default button like the platform's dialogs do.
void CDlgTimeSet::BindMessageMap() {
  connect(m_pCreate, &QPushButton::clicked, this, &CDlgTimeSet::CreateTimeSetFile);
  connect(m_pDriveBox, &QComboBox::activated, this, &CDlgTimeSet::OnDriveSelected);
  connect(m_pExit, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_pWriteCorrected, &QPushButton::clicked, this, &CDlgTimeSet::WriteCorrectedTime);
}

void CDlgTimeSet::SetCameraClock(const QString& line, std::optional<int> zoneMinutes, bool driftNoticeable) {
  m_pCameraClock->setText(line);
  m_cameraZoneMinutes = zoneMinutes;
  m_pWriteCorrected->setEnabled(zoneMinutes && driftNoticeable);
}

void CDlgTimeSet::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  OnInitDialog();
}

void CDlgTimeSet::OnInitDialog() {
  m_pHint->setText(displayText(kHintText));
  m_pComment->setText(displayText(kCommentText));
  m_pWrittenTime->clear();
  DetectCardDrives();
  if (m_nCardDrives == 0)
    ShowMessage(displayText(kNoCardDriveText));
  m_pDriveBox->clear();
  for (const std::string& root : m_driveList)
    m_pDriveBox->addItem(entryText(root));
  m_pDriveBox->view()->setMinimumWidth(m_pDriveBox->view()->sizeHintForColumn(0) + kListMargin);
  m_pDriveBox->setCurrentIndex(-1);
  if (!FindSetupIni()) {
    m_selectedCardDrive.clear();
    ShowMessage(displayText(kNoSetupIniText));
  }
}

// Every fixed volume, and every removable one that holds a medium; the last
// such removable volume becomes the selected card drive.
void CDlgTimeSet::DetectCardDrives() {
  m_nCardDrives = 0;
  m_driveList.clear();
  m_cardDriveList.clear();
  m_selectedCardDrive.clear();
  for (const platform::Volume& volume : m_listVolumes()) {
    if (!volume.removable) {
      m_driveList.push_back(volume.root);
      continue;
    }
    if (volume.totalBytes == 0)
      continue;
    m_selectedCardDrive = volume.root;
    m_driveList.push_back(volume.root);
    m_cardDriveList.push_back(volume.root);
    ++m_nCardDrives;
  }
}

// True with no card drive at all, so that only the no-card message is shown.
bool CDlgTimeSet::FindSetupIni() {
  if (m_nCardDrives == 0)
    return true;
  for (const std::string& drive : m_cardDriveList) {
    std::error_code error;
    if (!std::filesystem::exists(drive + kSetupIniPath, error))
      continue;
    m_selectedCardDrive = drive;
    const auto listed = std::find(m_driveList.begin(), m_driveList.end(), drive);
    m_pDriveBox->setCurrentIndex(int(listed - m_driveList.begin()));
    return true;
  }
  return false;
}

void CDlgTimeSet::OnDriveSelected(int index) {
  if (index < 0)
    return;
  const std::string entry = m_pDriveBox->itemText(index).toStdString();
  m_selectedCardDrive = platform::volumeRoot(entry);
}

void CDlgTimeSet::CreateTimeSetFile() { WriteTime(TimeSetText(QDateTime::currentDateTime())); }

void CDlgTimeSet::WriteCorrectedTime() {
  WriteTime(CorrectedTimeText(QDateTime::currentDateTimeUtc(), m_cameraZoneMinutes.value_or(0)));
}

void CDlgTimeSet::WriteTime(const QByteArray& text) {
  if (m_selectedCardDrive.empty()) {
    ShowMessage(displayText(kNoDriveSelectedText));
    return;
  }
  m_pWrittenTime->setText(QString::fromLatin1(text));
  const QString path = QString::fromStdString(m_selectedCardDrive + kTimeSetFileName);
  const QString error = WriteTimeSetFile(path, text);
  if (!error.isEmpty()) {
    ShowMessage(QStringLiteral("Could not write %1:\n%2\n\nPlease check that the SD card is still inserted and not "
                               "write-protected.")
                    .arg(path, error));
    return;
  }
  ShowMessage(displayText(kCreatedText));
}

QByteArray CDlgTimeSet::CorrectedTimeText(const QDateTime& now, int zoneMinutes) {
  return TimeSetText(now.toUTC().addSecs(qint64(zoneMinutes) * 60));
}

QByteArray CDlgTimeSet::TimeSetText(const QDateTime& time) {
  const QDate date = time.date();
  const QTime clock = time.time();
  return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", date.year(), date.month(), date.day(), clock.hour(),
                           clock.minute(), clock.second())
      .toLatin1();
}

// Truncated, so that an older and longer file leaves nothing behind, and
// synced, so that "Created" means the card holds it. A write that fails (a
// full card) removes the file: a camera must never read half a time.
QString CDlgTimeSet::WriteTimeSetFile(const QString& path, const QByteArray& text) const {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
    return file.errorString();
  // Written with the system's own calls: a full card's short write then
  // gives its reason instead of Qt's "Unknown error".
  QString error;
  for (qsizetype done = 0; done < text.size() && error.isEmpty();) {
    const ssize_t written = ::write(file.handle(), text.constData() + done, size_t(text.size() - done));
    if (written > 0)
      done += written;
    else if (written == 0 || errno != EINTR)
      error = QString::fromLocal8Bit(std::strerror(written == 0 ? ENOSPC : errno));
  }
  if (error.isEmpty() && ::fsync(file.handle()) != 0)
    error = QString::fromLocal8Bit(std::strerror(errno));
  file.close();
  if (error.isEmpty() && file.error() != QFileDevice::NoError)
    error = file.errorString();
  if (!error.isEmpty())
    file.remove();
  return error;
}

void CDlgTimeSet::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Lumenark"), text, QMessageBox::Ok, this);
  box.exec();
}
