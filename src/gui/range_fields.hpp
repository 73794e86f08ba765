#pragma once

#include <QWidget>

#include <cstdint>

#include "app/search_selection.hpp"

class QLineEdit;

namespace pellora::gui {

// Two handles on one groove: the start and the end of a sector range, in thousandths of the drive.
class CRangeSlider final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSteps = 1000;

  explicit CRangeSlider(QWidget* parent = nullptr);
  void SetHandles(int low, int high);  // 0 <= low <= high <= kSteps
  int Low() const { return low_; }
  int High() const { return high_; }
  QSize sizeHint() const override;

 signals:
  void HandlesMoved(int low, int high);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int StepAt(int x) const;
  int XOf(int step) const;

  int low_ = 0;
  int high_ = kSteps;
  int dragging_ = -1;  // 0: the start handle, 1: the end handle
};

// The "Start Sector" and "End Sector" fields of a range search window with the slider under them.
// Selecting a drive shows its whole range; the person may type a narrower one or drag the handles.
class CRangeFields final : public QWidget {
  Q_OBJECT

 public:
  explicit CRangeFields(QWidget* parent = nullptr);

  // Shows the range the drive tree's item offers (nothing for an item that is no drive).
  void ShowItem(const DriveListing& listing, int item);
  void Clear();
  // The selected drive with the range as typed: an empty field is no value.
  SearchSelectionRequest Request() const;
  QLineEdit& StartField() const { return *start_; }
  QLineEdit& EndField() const { return *end_; }

 signals:
  void RangeEdited();

 private:
  void Typed();
  void Dragged(int low, int high);
  std::uint64_t SectorAt(int step) const;

  SearchSelectionRequest offered_;
  std::uint64_t first_ = 0;  // the item's range, which the slider spans
  std::uint64_t end_sector_ = 0;
  QLineEdit* start_ = nullptr;
  QLineEdit* end_ = nullptr;
  CRangeSlider* slider_ = nullptr;
};

}  // namespace pellora::gui
