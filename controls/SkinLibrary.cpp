// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SkinLibrary.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <cstring>

// The resources live in this static library; register them before first use.
static bool registerSkinResources() {
  Q_INIT_RESOURCE(skin);
  return true;
}

namespace {

struct Picture {
  int id;
  int width;
  int height;
  const char* source;
};

// Every picture of the skin with its size at a ratio of 1 and its source in
// res/skin/.
constexpr Picture kPictures[] = {
    {SkinLibrary::kIcon, 32, 32, "icon"},
    {SkinLibrary::kPositionThumb, 8, 9, "position-thumb"},
    {SkinLibrary::kPositionChannel, 348, 9, "position-channel"},
    {SkinLibrary::kBackground, 1010, 790, "background"},
    {SkinLibrary::kOpenNormal, 60, 20, "open-normal"},
    {SkinLibrary::kOpenPressed, 60, 20, "open-pressed"},
    {151, 15, 22, "digit-0"},
    {152, 15, 22, "digit-1"},
    {153, 15, 22, "digit-2"},
    {154, 15, 22, "digit-3"},
    {155, 15, 22, "digit-4"},
    {156, 15, 22, "digit-5"},
    {157, 15, 22, "digit-6"},
    {158, 15, 22, "digit-7"},
    {159, 15, 22, "digit-8"},
    {160, 15, 22, "digit-9"},
    {SkinLibrary::kDigitDash, 15, 22, "digit-dash"},
    {SkinLibrary::kInfoNormal, 20, 20, "info-normal"},
    {SkinLibrary::kInfoPressed, 20, 20, "info-pressed"},
    {SkinLibrary::kSaveNormal, 20, 20, "save-normal"},
    {SkinLibrary::kSavePressed, 20, 20, "save-pressed"},
    {SkinLibrary::kPrintNormal, 20, 20, "print-normal"},
    {SkinLibrary::kPrintPressed, 20, 20, "print-pressed"},
    {SkinLibrary::kSnapNormal, 20, 20, "snap-normal"},
    {SkinLibrary::kSnapPressed, 20, 20, "snap-pressed"},
    {SkinLibrary::kSetupNormal, 20, 20, "setup-normal"},
    {SkinLibrary::kSetupPressed, 20, 20, "setup-pressed"},
    {SkinLibrary::kExitNormal, 16, 16, "exit-normal"},
    {SkinLibrary::kExitPressed, 16, 16, "exit-pressed"},
    {SkinLibrary::kPlayNormal, 52, 23, "play-normal"},
    {SkinLibrary::kPlayPressed, 52, 23, "play-pressed"},
    {SkinLibrary::kPauseNormal, 52, 23, "pause-normal"},
    {SkinLibrary::kPausePressed, 52, 23, "pause-pressed"},
    {SkinLibrary::kSlowerNormal, 52, 23, "slower-normal"},
    {SkinLibrary::kSlowerPressed, 52, 23, "slower-pressed"},
    {SkinLibrary::kBrightnessChannel, 79, 13, "brightness-channel"},
    {SkinLibrary::kBrightnessThumb, 17, 10, "brightness-thumb"},
    {SkinLibrary::kVolumeChannel, 79, 13, "volume-channel"},
    {SkinLibrary::kVolumeThumb, 17, 10, "volume-thumb"},
    {SkinLibrary::kSmallMark1, 7, 9, "mark-start"},
    {SkinLibrary::kSmallMark3, 7, 9, "mark-end"},
    {SkinLibrary::kCompassDial, 116, 118, "compass-dial"},
    {SkinLibrary::kGraphPanel, 346, 109, "graph-panel"},
    {SkinLibrary::kTimeline, 640, 21, "timeline"},
    {SkinLibrary::kStopNormal, 52, 23, "stop-normal"},
    {SkinLibrary::kStopPressed, 52, 23, "stop-pressed"},
    {SkinLibrary::kFasterNormal, 52, 23, "faster-normal"},
    {SkinLibrary::kFasterPressed, 52, 23, "faster-pressed"},
    {SkinLibrary::kCameraBadge, 16, 14, "camera-badge"},
    {SkinLibrary::kVolumeDragThumb, 17, 10, "volume-thumb-drag"},
    {SkinLibrary::kBrightnessDragThumb, 17, 10, "brightness-thumb-drag"},
    {SkinLibrary::kEventMark, 12, 21, "event-mark"},
    {SkinLibrary::kTimePressed, 20, 20, "time-pressed"},
    {SkinLibrary::kTimeNormal, 20, 20, "time-normal"},
};

struct Placement {
  int id;
  int x;
  int y;
};

// Pictures that also exist on their own are laid into the background from
// their own sources, so that copying one of them back over the window restores
// exactly the background's pixels.
constexpr Placement kBackgroundPieces[] = {
    {SkinLibrary::kTimeline, 19, 589}, {SkinLibrary::kGraphPanel, 75, 659}, {SkinLibrary::kCompassDial, 438, 654},
    {SkinLibrary::kDigit0, 587, 698},  {SkinLibrary::kDigit0, 603, 698},    {SkinLibrary::kDigit0, 619, 698},
};

const Picture* findPicture(int id) {
  for (const Picture& picture : kPictures) {
    if (picture.id == id)
      return &picture;
  }
  return nullptr;
}

QString sourcePath(const Picture& picture) { return QStringLiteral(":/skin/%1.svg").arg(picture.source); }

QSize pixelSize(const QSize& logicalSize, qreal ratio) {
  return QSize(qRound(logicalSize.width() * ratio), qRound(logicalSize.height() * ratio));
}

QImage renderImage(int id, const QSize& logicalSize, qreal ratio);
QImage cachedImage(int id, const QSize& logicalSize, qreal ratio);

void drawSource(QPainter& painter, const Picture& picture, const QRectF& bounds) {
  QSvgRenderer renderer(sourcePath(picture));
  if (renderer.isValid())
    renderer.render(&painter, bounds);
}

void drawBackgroundPieces(QPainter& painter, qreal ratio) {
  for (const Placement& piece : kBackgroundPieces)
    painter.drawImage(QPoint(piece.x, piece.y), cachedImage(piece.id, SkinLibrary::size(piece.id), ratio));
}

QImage drawnAhead(const Picture& picture, const QSize& logicalSize, qreal ratio) {
  const int wholeRatio = qRound(ratio);
  if (logicalSize != QSize(picture.width, picture.height) || (wholeRatio != 1 && wholeRatio != 2) ||
      !qFuzzyCompare(ratio, qreal(wholeRatio)))
    return QImage();
  const QResource drawing(QStringLiteral(":/skin-drawn/") + SkinLibrary::drawnAheadName(picture.id, wholeRatio));
  if (!drawing.isValid() || drawing.compressionAlgorithm() != QResource::NoCompression)
    return QImage();
  QImage image(pixelSize(logicalSize, ratio), QImage::Format_ARGB32_Premultiplied);
  if (drawing.size() != image.sizeInBytes())
    return QImage();
  // Copied: the file's data need not be aligned for pixels.
  std::memcpy(image.bits(), drawing.data(), size_t(image.sizeInBytes()));
  image.setDevicePixelRatio(ratio);
  return image;
}

QImage renderImage(int id, const QSize& logicalSize, qreal ratio) {
  const Picture* picture = findPicture(id);
  if (!picture || logicalSize.isEmpty())
    return QImage();
  QImage ahead = drawnAhead(*picture, logicalSize, ratio);
  if (!ahead.isNull())
    return ahead;
  static const bool registered = registerSkinResources();
  Q_UNUSED(registered);
  QImage image(pixelSize(logicalSize, ratio), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  drawSource(painter, *picture, QRectF(QPointF(0, 0), logicalSize));
  if (id == SkinLibrary::kBackground)
    drawBackgroundPieces(painter, ratio);
  return image;
}

struct CacheKey {
  int id;
  QSize size;
  qreal ratio;
  bool operator==(const CacheKey& other) const {
    return id == other.id && size == other.size && qFuzzyCompare(ratio, other.ratio);
  }
};

size_t qHash(const CacheKey& key, size_t seed = 0) {
  return qHashMulti(seed, key.id, key.size.width(), key.size.height(), qRound(key.ratio * 100));
}

QHash<CacheKey, QImage>& imageCache() {
  static QHash<CacheKey, QImage> cache;
  return cache;
}

QHash<CacheKey, QPixmap>& pixmapCache() {
  static QHash<CacheKey, QPixmap> cache;
  return cache;
}

QMutex& imageCacheLock() {
  static QMutex lock;
  return lock;
}

// Drawn outside the lock: two threads may draw one picture once each.
QImage cachedImage(int id, const QSize& logicalSize, qreal ratio) {
  const CacheKey key{id, logicalSize, ratio};
  {
    const QMutexLocker locker(&imageCacheLock());
    auto found = imageCache().constFind(key);
    if (found != imageCache().constEnd())
      return *found;
  }
  QImage image = renderImage(id, logicalSize, ratio);
  const QMutexLocker locker(&imageCacheLock());
  imageCache().insert(key, image);
  return image;
}

} // namespace

bool SkinLibrary::contains(int id) { return findPicture(id) != nullptr; }

QSize SkinLibrary::size(int id) {
  const Picture* picture = findPicture(id);
  return picture ? QSize(picture->width, picture->height) : QSize();
}

QPixmap SkinLibrary::pixmap(int id, qreal devicePixelRatio) { return pixmap(id, size(id), devicePixelRatio); }

QPixmap SkinLibrary::pixmap(int id, const QSize& logicalSize, qreal devicePixelRatio) {
  const CacheKey key{id, logicalSize, devicePixelRatio};
  auto found = pixmapCache().constFind(key);
  if (found != pixmapCache().constEnd())
    return *found;
  const QImage image = cachedImage(id, logicalSize, devicePixelRatio);
  QPixmap result = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
  pixmapCache().insert(key, result);
  return result;
}

QImage SkinLibrary::image(int id, qreal devicePixelRatio) { return cachedImage(id, size(id), devicePixelRatio); }

QIcon SkinLibrary::icon() {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(QPixmap::fromImage(renderImage(kIcon, QSize(side, side), 1.0)));
  return icon;
}

QList<int> SkinLibrary::ids() {
  QList<int> all;
  for (const Picture& picture : kPictures)
    all.append(picture.id);
  return all;
}

bool SkinLibrary::useDrawnAhead(const QString& resourceFile) {
  return QFileInfo(resourceFile).isFile() && QResource::registerResource(resourceFile);
}

QString SkinLibrary::drawnAheadName(int id, int devicePixelRatio) {
  const Picture* picture = findPicture(id);
  return picture ? QStringLiteral("%1@%2x.argb32").arg(QLatin1String(picture->source)).arg(devicePixelRatio)
                 : QString();
}
