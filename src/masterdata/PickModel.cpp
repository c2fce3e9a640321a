#include "masterdata/PickModel.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/TableEngine.h"
#include "util/TextUtil.h"

namespace masterdata {
PickGridModel::PickGridModel(PickGridConfig config) : config_(std::move(config)) {}

void PickGridModel::Open(long selection) {
  DATA4* table = config_.table();
  last_search_.clear();
  rows_ = {};
  top_ = 0;
  max_top_ = 1;
  anchor_rec_ = 0;
  target_ = 0;
  current_row_ = 0;
  scroll_position_ = 0;
  count_ = table != nullptr ? std::max(0L, d4recCountDo(table)) : 0;
  if (count_ == 0) return;
  current_row_ = 1;
  if (Scrollable()) {
    max_top_ = count_ - kPageRows;
    PlaceOn(selection);
  } else {
    // A short table always shows from its first record; the chosen record is
    // still highlighted.
    target_ = selection;
  }
  Fill();
}

void PickGridModel::Fill() {
  rows_ = {};
  DATA4* table = config_.table();
  if (count_ <= 0 || table == nullptr) {
    target_ = 0;
    current_row_ = 0;
    scroll_position_ = 0;
    return;
  }
  top_ = std::clamp(top_, 0L, Scrollable() ? max_top_ : 0L);
  int remembered = 0;
  int filled = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    rows_ = {};
    remembered = 0;
    filled = 0;
    if (!GoToAnchor(table)) break;
    for (int i = 1; i <= kPageRows; ++i) {
      const long rec_no = d4recNo(table);
      if (rec_no <= 0) break;
      PickRow& row = rows_[i - 1];
      row.cells = config_.read_row(table);
      row.cells << QString::number(rec_no);
      row.rec_no = rec_no;
      filled = i;
      if (rec_no == target_) remembered = i;
      if (i == kPageRows || d4skip(table, 1) != r4success) break;
    }
    // A page placed by an estimate can start inside the last page; then the
    // last page is shown whole.
    if (filled == kPageRows || !Scrollable()) break;
    AnchorAtLastPage(table);
  }
  target_ = 0;
  if (remembered > 0) {
    current_row_ = remembered;
  } else if (config_.follow == RowFollow::kFirstRow || current_row_ < 1) {
    current_row_ = 1;
  }
  scroll_position_ = Scrollable() ? static_cast<int>(top_ * 100 / max_top_) : 0;
}

bool PickGridModel::Key(PickKey key) {
  switch (key) {
    case PickKey::kPageDown:
      return MoveTo(top_ + kPageRows);
    case PickKey::kPageUp:
      return MoveTo(top_ - kPageRows);
    case PickKey::kEnd:
      return MoveTo(max_top_);
    case PickKey::kHome:
      return MoveTo(0);
    case PickKey::kDown:
      if (current_row_ != kPageRows || !MoveTo(top_ + 1)) return false;
      // The highlight stays on the last row, now on the next record.
      current_row_ = kPageRows;
      return true;
    case PickKey::kUp:
      if (current_row_ != 1 || !MoveTo(top_ - 1)) return false;
      current_row_ = 1;
      return true;
  }
  return false;
}

bool PickGridModel::Scroll(ScrollAction action, int thumb_position) {
  switch (action) {
    case ScrollAction::kLineUp:
      return MoveTo(top_ - 1);
    case ScrollAction::kLineDown:
      return MoveTo(top_ + 1);
    case ScrollAction::kPageUp:
      return MoveTo(top_ - kPageRows);
    case ScrollAction::kPageDown:
      return MoveTo(top_ + kPageRows);
    case ScrollAction::kTop:
      return MoveTo(0);
    case ScrollAction::kBottom:
      return MoveTo(max_top_);
    case ScrollAction::kThumbPosition:
      return MoveTo(static_cast<long>(static_cast<long long>(thumb_position) * max_top_ / 100));
    case ScrollAction::kThumbTrack:
    case ScrollAction::kEndScroll:
      return false;
  }
  return false;
}

bool PickGridModel::Search(const QString& text) {
  QString key;
  if (config_.search == SearchStyle::kUpperTrim) {
    key = text.toUpper().trimmed();
    if (key == last_search_) return false;
    last_search_ = key;
  } else {
    key = text.trimmed();
    if (key.isEmpty()) return false;
    key = key.rightJustified(6, QLatin1Char(' '));
    last_search_ = key;
  }
  DATA4* table = config_.table();
  if (table == nullptr || count_ <= 0) return false;
  const int rc = d4seek(table, KeyText(key).constData());
  if (rc != r4success && rc != r4after) return false;
  const long found = d4recNo(table);
  if (found <= 0) return false;
  if (Scrollable()) {
    PlaceOn(found);
  } else {
    target_ = found;
  }
  Fill();
  return true;
}

long PickGridModel::SelectedRecNo() const {
  if (current_row_ < 1 || current_row_ > kPageRows) return 0;
  return rows_[current_row_ - 1].rec_no;
}

void PickGridModel::SetCurrentRow(int row) {
  current_row_ = std::clamp(row, count_ > 0 ? 1 : 0, count_ > 0 ? kPageRows : 0);
}

bool PickGridModel::MoveTo(long new_top) {
  if (!Scrollable()) return false;
  new_top = std::clamp(new_top, 0L, max_top_);
  if (new_top == top_) return false;
  DATA4* table = config_.table();
  if (table == nullptr) return false;
  if (new_top == 0) {
    AnchorAtFirst(table);
  } else if (new_top == max_top_) {
    AnchorAtLastPage(table);
  } else {
    // Skip from the nearest place whose position is known: the first record,
    // the first row of the last page, or the record on the first row now.
    const long delta = new_top - top_;
    const long from_first = new_top;
    const long from_last = max_top_ - new_top;
    int rc = r4success;
    if (from_first < std::labs(delta) && from_first <= from_last) {
      AnchorAtFirst(table);
      rc = d4skip(table, from_first);
    } else if (from_last < std::labs(delta)) {
      AnchorAtLastPage(table);
      rc = d4skip(table, -from_last);
    } else {
      if (!GoToAnchor(table)) return false;
      rc = d4skip(table, delta);
    }
    if (rc == r4bof) {
      AnchorAtFirst(table);
    } else if (rc != r4success) {
      AnchorAtLastPage(table);
    } else {
      const long candidate = d4recNo(table);
      if (d4skip(table, kPageRows) != r4success) {
        // Fewer than a page follows: this is the last page.
        AnchorAtLastPage(table);
      } else {
        anchor_rec_ = candidate;
        top_ = std::clamp(new_top, 1L, std::max(1L, max_top_ - 1));
      }
    }
  }
  Fill();
  return true;
}

void PickGridModel::PlaceOn(long target) {
  DATA4* table = config_.table();
  if (table == nullptr) return;
  if (target <= 0 || d4go(table, target) != r4success) {
    AnchorAtFirst(table);
    target_ = anchor_rec_;
    return;
  }
  target_ = target;
  double fraction = 0.0;
  if (d4position2(table, &fraction) != r4success) fraction = 0.0;
  const long estimate = static_cast<long>(static_cast<double>(count_) * fraction);
  if (d4skip(table, -1) == r4bof) {
    top_ = 0;
    anchor_rec_ = target;
    return;
  }
  if (d4go(table, target) != r4success || d4skip(table, kPageRows) != r4success) {
    // Fewer than a page from the target to the end: it lies on the last page.
    AnchorAtLastPage(table);
    return;
  }
  anchor_rec_ = target;
  top_ = std::clamp(estimate, 1L, std::max(1L, max_top_ - 1));
}

bool PickGridModel::GoToAnchor(DATA4* table) {
  if (anchor_rec_ > 0 && d4go(table, anchor_rec_) == r4success) return true;
  // No known record: count from the first one.
  if (d4top(table) != r4success) return false;
  if (top_ > 0 && d4skip(table, top_) != r4success) return false;
  anchor_rec_ = d4recNo(table);
  return anchor_rec_ > 0;
}

void PickGridModel::AnchorAtFirst(DATA4* table) {
  top_ = 0;
  anchor_rec_ = d4top(table) == r4success ? d4recNo(table) : 0;
}

void PickGridModel::AnchorAtLastPage(DATA4* table) {
  top_ = Scrollable() ? max_top_ : 0;
  anchor_rec_ = 0;
  if (d4bottom(table) != r4success) return;
  if (Scrollable()) {
    // A backward skip that meets the beginning stays on the first record.
    (void)d4skip(table, -(kPageRows - 1));
  } else {
    (void)d4top(table);
  }
  anchor_rec_ = d4recNo(table);
}

}  // namespace masterdata
