// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowBuilder.h"

#include "app/CSkinLabel.h"
#include "app/MainWindowLayout.h"
#include "controls/CBitmapButton.h"
#include "controls/CImageSlider.h"
#include "dialogs/DialogUnits.h"

#include <QColor>
#include <QListWidget>
#include <QPushButton>

namespace {

// Colours of the text controls over the skin.
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kVersionBackground(15, 20, 30);
const QColor kTimeBackground(65, 65, 65);

// White on black in a small dialog font, so that a line of a camera's name,
// size and kind fits the list's width, with scroll bars in the skin's colours.
const QString kRecordingListStyle =
    QStringLiteral("QListWidget { color: white; background: black; border: 1px solid #2a3850;"
                   " font-family: 'Liberation Sans', 'Arial', sans-serif; font-size: 11px; }"
                   "QListWidget::item:selected { background: #1f6d9e; }"
                   "QScrollBar { background: #0a0f17; margin: 0; }"
                   "QScrollBar:vertical { width: 12px; }"
                   "QScrollBar:horizontal { height: 12px; }"
                   "QScrollBar::handle { background: #2a3850; border-radius: 4px; margin: 2px; }"
                   "QScrollBar::handle:vertical { min-height: 24px; }"
                   "QScrollBar::handle:horizontal { min-width: 24px; }"
                   "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
                   "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");

template <typename Control> Control* item(const ControlMap& controls, ControlId id) {
  return static_cast<Control*>(controls.value(id));
}

} // namespace

ControlMap WindowBuilder::CreateControls(QWidget* window) {
  ControlMap controls;
  for (const layout::TemplateControl& control : layout::kTemplate) {
    QWidget* widget = CreateControl(window, control.id, control.kind, control.text);
    widget->setObjectName(QString::number(control.id));
    widget->setGeometry(kMainTemplateUnits.toPixels(control.x, control.y, control.width, control.height));
    widget->setEnabled(control.enabled);
    widget->setVisible(control.visible);
    controls.insert(control.id, widget);
  }
  return controls;
}

QWidget* WindowBuilder::CreateControl(QWidget* window, ControlId id, layout::ControlKind kind, const char* text) {
  const QString caption = QString::fromUtf8(text);
  switch (kind) {
  case layout::ControlKind::PushButton: {
    auto* button = new QPushButton(caption, window);
    button->setAutoDefault(false);
    return button;
  }
  case layout::ControlKind::BitmapButton: {
    auto* button = new CBitmapButton(window);
    button->setText(caption);
    return button;
  }
  case layout::ControlKind::Slider:
    return new CImageSlider(window);
  case layout::ControlKind::ListBox: {
    auto* list = new QListWidget(window);
    list->setFrameShape(QFrame::Box);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return list;
  }
  case layout::ControlKind::Static: {
    auto* label = new CSkinLabel(window);
    label->setText(caption);
    label->setAlignment(id == IDC_VERSION ? Qt::AlignRight | Qt::AlignVCenter
                        : id == IDC_SPEED ? Qt::AlignCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
    return label;
  }
  case layout::ControlKind::MapArea:
    break;
  }
  // The map's place: the skin shows through until the map view fills it.
  return new QWidget(window);
}

void WindowBuilder::Dress(const ControlMap& controls) {
  ApplySkin(controls);
  MoveToRuntimeLayout(controls);
  CreateTooltips(controls);
  SetControlColours(controls);
}

void WindowBuilder::ApplySkin(const ControlMap& controls) {
  for (const layout::SliderSkin& skin : layout::kSliderSkins) {
    auto* slider = item<CImageSlider>(controls, skin.id);
    slider->SetRange(skin.min, skin.max);
    slider->setGeometry(skin.rect);
    slider->SetBitmaps(skin.channel, skin.thumb, skin.dragThumb, skin.focusThumb, skin.margin);
  }
  for (const layout::ButtonSkin& skin : layout::kButtonSkins) {
    auto* button = item<CBitmapButton>(controls, skin.id);
    button->LoadBitmaps(skin.normal, skin.pressed, skin.normal, skin.normal);
    button->SizeToContent();
  }
}

void WindowBuilder::MoveToRuntimeLayout(const ControlMap& controls) {
  for (const layout::Place& place : layout::kRuntimeLayout) {
    controls.value(place.id)->setGeometry(place.rect);
    if (place.id == IDC_INFO)
      controls.value(IDC_TIME_SET)->hide();
  }
  for (const layout::Place& place : layout::kTextPlaces)
    controls.value(place.id)->setGeometry(place.rect);
}

void WindowBuilder::CreateTooltips(const ControlMap& controls) {
  for (const layout::Tooltip& tooltip : layout::kTooltips)
    controls.value(tooltip.id)->setToolTip(QString::fromUtf8(tooltip.text));
}

void WindowBuilder::SetControlColours(const ControlMap& controls) {
  controls.value(IDC_RECORDING_LIST)->setStyleSheet(kRecordingListStyle);
  item<CSkinLabel>(controls, IDC_FOLDER_TEXT)->SetColours(kWhite, kBlack, kBlack);
  item<CSkinLabel>(controls, IDC_VERSION)->SetColours(kWhite, kVersionBackground);
  item<CSkinLabel>(controls, IDC_PLAYED_TIME)->SetColours(kWhite, kTimeBackground);
  item<CSkinLabel>(controls, IDC_TOTAL_TIME)->SetColours(kWhite, kTimeBackground);
}
