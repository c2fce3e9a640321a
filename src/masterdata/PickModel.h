#pragma once
// The paged grid pick list without its window: which ten records of a table
// show in tag order, which row is highlighted, where the scroll bar stands,
// and how keys, scrolling and the search box move the page. The four grid
// pick lists (customers, products, invoices, purchases) share it.
//
// Costs: a fill reads at most the ten records it shows. Opening on a record
// and a search place the page from the engine's estimated tag position and
// skip at most a page to find out whether the record lies on the first or
// the last page, so they cost a seek or a go plus a few index pages, never a
// walk from the top. Paging moves from the record already on the first row.

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

struct DATA4;

namespace masterdata {

inline constexpr int kPageRows = 10;

// One data row of the grid: the column texts (record number last) and the
// record number; rec_no 0 and no cells for a row past the last record.
struct PickRow {
  QStringList cells;
  long rec_no = 0;
};

enum class PickKey { kPageDown, kPageUp, kEnd, kHome, kDown, kUp };

enum class ScrollAction {
  kLineUp,
  kLineDown,
  kPageUp,
  kPageDown,
  kTop,
  kBottom,
  kThumbPosition,  // thumb released at a position 0..100
  kThumbTrack,     // ignored
  kEndScroll,      // ignored
};

// How the search box text becomes a seek key.
enum class SearchStyle {
  kUpperTrim,      // upper-cased and trimmed; sought only when it changed
  kInvoiceNumber,  // trimmed digits, blank does nothing, padded to 6, always sought
};

// Which row a fill highlights when the target record is not on the page.
enum class RowFollow {
  kFirstRow,  // customers and invoices: row 1
  kKeepRow,   // products and purchases: the row stays where it was
};

struct PickGridConfig {
  // The table to browse, under the tag its caller selected.
  std::function<DATA4*()> table;
  // Column texts of the current record, the record number column excluded.
  std::function<QStringList(DATA4*)> read_row;
  SearchStyle search = SearchStyle::kUpperTrim;
  RowFollow follow = RowFollow::kFirstRow;
};

class PickGridModel {
 public:
  explicit PickGridModel(PickGridConfig config);

  // Opens the list on a table: counts it, forgets the last search and places
  // the page on the record `selection` (0 or less: the first record). With 10
  // records or fewer the list always opens on the first record.
  void Open(long selection);

  // Reads the page at the current first visible position.
  void Fill();

  // Paging keys of the grid. Returns true when the page moved (and was
  // filled); Down and Up move it only from the last and the first row.
  bool Key(PickKey key);

  // Scroll bar events. Returns true when the page moved; scroll_position()
  // then gives the thumb's new place.
  bool Scroll(ScrollAction action, int thumb_position = 0);

  // The search box text changed. Returns true when the page moved.
  bool Search(const QString& text);

  // The record number in the current row's last column; 0 for an empty row
  // or no current row (which reads as New).
  long SelectedRecNo() const;

  // The highlighted data row, 1..10; 0 when the grid has no data row.
  int current_row() const { return current_row_; }
  void SetCurrentRow(int row);

  long top() const { return top_; }
  long max_top() const { return max_top_; }
  long record_count() const { return count_; }
  bool has_records() const { return count_ > 0; }
  bool scroll_bar_visible() const { return count_ > kPageRows; }
  int scroll_position() const { return scroll_position_; }
  const QString& last_search() const { return last_search_; }
  const std::array<PickRow, kPageRows>& rows() const { return rows_; }
  const PickRow& row(int row) const { return rows_[row - 1]; }  // 1-based

 private:
  // Moves the first visible position to new_top (clamped). True when moved.
  bool MoveTo(long new_top);
  // Places the page so that the record `target` shows, on the first row
  // unless the record lies on the last page.
  void PlaceOn(long target);
  // Positions the table on the record at the first visible row.
  [[nodiscard]] bool GoToAnchor(DATA4* table);
  // Makes the first record, or the first record of the last page, the anchor.
  void AnchorAtFirst(DATA4* table);
  void AnchorAtLastPage(DATA4* table);
  bool Scrollable() const { return count_ > kPageRows; }

  PickGridConfig config_;
  long top_ = 0;
  long max_top_ = 1;
  long count_ = 0;
  long target_ = 0;
  long anchor_rec_ = 0;  // record number at the first row; 0 unknown (use the top)
  QString last_search_;
  std::array<PickRow, kPageRows> rows_{};
  int current_row_ = 0;
  int scroll_position_ = 0;
};

}  // namespace masterdata
