#include "range_fields.hpp"

#include <algorithm>
#include <charconv>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace pellora::gui {

namespace {

constexpr int kHandleWidth = 10;

std::optional<std::uint64_t> FieldValue(const QLineEdit& field) {
  const std::string text = field.text().trimmed().toStdString();
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

CRangeSlider::CRangeSlider(QWidget* parent) : QWidget(parent) {
  setObjectName("Range");
  setMinimumHeight(22);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize CRangeSlider::sizeHint() const { return {240, 22}; }

void CRangeSlider::SetHandles(int low, int high) {
  low_ = std::clamp(low, 0, kSteps);
  high_ = std::clamp(high, low_, kSteps);
  update();
}

int CRangeSlider::XOf(int step) const {
  const int span = std::max(1, width() - kHandleWidth);
  return kHandleWidth / 2 + static_cast<int>(static_cast<long long>(span) * step / kSteps);
}

int CRangeSlider::StepAt(int x) const {
  const int span = std::max(1, width() - kHandleWidth);
  return std::clamp(static_cast<int>(static_cast<long long>(x - kHandleWidth / 2) * kSteps / span), 0, kSteps);
}

void CRangeSlider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPalette& colours = palette();
  const int middle = height() / 2;
  const QRect groove(XOf(0), middle - 2, XOf(kSteps) - XOf(0), 4);
  painter.fillRect(groove, colours.color(QPalette::Mid));
  painter.fillRect(QRect(XOf(low_), middle - 2, XOf(high_) - XOf(low_), 4),
                   colours.color(isEnabled() ? QPalette::Highlight : QPalette::Dark));
  painter.setPen(colours.color(QPalette::Shadow));
  painter.setBrush(colours.color(QPalette::Button));
  for (int step : {low_, high_})
    painter.drawRoundedRect(QRect(XOf(step) - kHandleWidth / 2, 2, kHandleWidth, height() - 5), 2, 2);
}

void CRangeSlider::mousePressEvent(QMouseEvent* event) {
  const int x = static_cast<int>(event->position().x());
  // The nearer handle moves; on a tie the one that can move towards the click.
  const int to_low = std::abs(x - XOf(low_));
  const int to_high = std::abs(x - XOf(high_));
  dragging_ = to_low < to_high || (to_low == to_high && x < XOf(low_)) ? 0 : 1;
  mouseMoveEvent(event);
}

void CRangeSlider::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ < 0) return;
  const int step = StepAt(static_cast<int>(event->position().x()));
  if (dragging_ == 0)
    low_ = std::min(step, high_);
  else
    high_ = std::max(step, low_);
  update();
  emit HandlesMoved(low_, high_);
}

void CRangeSlider::mouseReleaseEvent(QMouseEvent*) { dragging_ = -1; }

CRangeFields::CRangeFields(QWidget* parent) : QWidget(parent) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  const auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,20}"), this);
  start_ = new QLineEdit(this);
  start_->setObjectName("Start Sector");
  start_->setValidator(digits);
  end_ = new QLineEdit(this);
  end_->setObjectName("End Sector");
  end_->setValidator(digits);
  layout->addWidget(new QLabel("Start Sector", this), 0, 0);
  layout->addWidget(start_, 0, 1);
  layout->addWidget(new QLabel("End Sector", this), 0, 2);
  layout->addWidget(end_, 0, 3);
  slider_ = new CRangeSlider(this);
  layout->addWidget(slider_, 1, 0, 1, 4);
  connect(start_, &QLineEdit::textEdited, this, &CRangeFields::Typed);
  connect(end_, &QLineEdit::textEdited, this, &CRangeFields::Typed);
  connect(slider_, &CRangeSlider::HandlesMoved, this, &CRangeFields::Dragged);
  Clear();
}

void CRangeFields::ShowItem(const DriveListing& listing, int item) {
  offered_ = SearchRequestFor(listing, item);
  if (offered_.device_path.empty() || !offered_.range) {
    Clear();
    return;
  }
  first_ = offered_.range->start.value_or(0);
  end_sector_ = offered_.range->end.value_or(first_);
  start_->setText(QString::number(first_));
  end_->setText(QString::number(end_sector_));
  slider_->SetHandles(0, CRangeSlider::kSteps);
  slider_->setEnabled(end_sector_ > first_);
}

void CRangeFields::Clear() {
  offered_ = {};
  first_ = end_sector_ = 0;
  start_->clear();
  end_->clear();
  slider_->SetHandles(0, CRangeSlider::kSteps);
  slider_->setEnabled(false);
}

SearchSelectionRequest CRangeFields::Request() const {
  SearchSelectionRequest request = offered_;
  if (!request.device_path.empty()) request.range = SectorRangeFields{FieldValue(*start_), FieldValue(*end_)};
  return request;
}

std::uint64_t CRangeFields::SectorAt(int step) const {
  const std::uint64_t span = end_sector_ - first_;
  // Splits the product so that the largest drives do not overflow.
  const auto steps = static_cast<std::uint64_t>(step);
  return first_ + span / CRangeSlider::kSteps * steps + span % CRangeSlider::kSteps * steps / CRangeSlider::kSteps;
}

void CRangeFields::Typed() {
  const auto step_of = [this](std::optional<std::uint64_t> sector, int fallback) {
    if (!sector || end_sector_ <= first_) return fallback;
    const std::uint64_t inside = std::clamp(*sector, first_, end_sector_) - first_;
    return static_cast<int>(static_cast<long double>(inside) * CRangeSlider::kSteps / (end_sector_ - first_));
  };
  const QSignalBlocker quiet(slider_);
  slider_->SetHandles(step_of(FieldValue(*start_), 0), step_of(FieldValue(*end_), CRangeSlider::kSteps));
  emit RangeEdited();
}

void CRangeFields::Dragged(int low, int high) {
  if (end_sector_ <= first_) return;
  start_->setText(QString::number(SectorAt(low)));
  end_->setText(QString::number(SectorAt(high)));
  emit RangeEdited();
}

}  // namespace pellora::gui
