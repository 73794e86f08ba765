#include "scan_progress.hpp"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <cstdint>

#include "common/ui.hpp"
#include "qt_ui.hpp"

namespace pellora::gui {

namespace {

QLabel* NamedLabel(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

CScanProgress::CScanProgress(CQtUi& ui, QWidget* parent) : QWidget(parent) {
  auto* texts = new QGridLayout(this);
  texts->setContentsMargins(0, 0, 0, 0);
  bar_ = new QProgressBar(this);
  bar_->setObjectName("progress");
  bar_->setValue(0);
  texts->addWidget(bar_, 0, 0, 1, 4);
  texts->addWidget(new QLabel("Searching from sectors", this), 1, 0);
  current_sector_ = NamedLabel("current sector", this);
  texts->addWidget(current_sector_, 1, 1);
  total_sectors_ = NamedLabel("total sectors", this);
  texts->addWidget(total_sectors_, 1, 2);
  search_range_ = NamedLabel("search range", this);
  texts->addWidget(search_range_, 1, 3, Qt::AlignRight);
  status_ = NamedLabel("status", this);
  status_->setWordWrap(true);
  texts->addWidget(status_, 2, 0, 1, 4);
  hint_ = NamedLabel("hint", this);
  hint_->setWordWrap(true);
  texts->addWidget(hint_, 3, 0, 1, 4);
  texts->setColumnStretch(2, 1);

  connect(&ui, &CQtUi::ProgressChanged, this, [this](qint64 position, qint64 maximum) {
    bar_->setRange(0, static_cast<int>(std::clamp<qint64>(maximum, 0, INT32_MAX)));
    bar_->setValue(static_cast<int>(std::clamp<qint64>(position, 0, INT32_MAX)));
  });
  connect(&ui, &CQtUi::TextChanged, this, &CScanProgress::ShowText);
}

void CScanProgress::ShowText(int field, const QString& text) {
  switch (static_cast<UiText>(field)) {
    case UiText::kStatus:
      status_->setText(text);
      break;
    case UiText::kHint:
      hint_->setText(text);
      break;
    case UiText::kCurrentSector:
      current_sector_->setText(text);
      break;
    case UiText::kTotalSectors:
      total_sectors_->setText(text);
      break;
    case UiText::kSearchRange:
      search_range_->setText(text);
      break;
    case UiText::kSaveTotals:
      break;
  }
}

}  // namespace pellora::gui
