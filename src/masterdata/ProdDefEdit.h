#pragma once
// The product editor and the product maintenance command without their
// window: opening a product (or a blank one for New), saving it with the ID
// upper-cased and checked against the other products, deleting it, and the
// pick-and-edit loop of "Add & Edit Products / Services". Works on ProdRec,
// SelProd and the open Prod5 table. Also reads the amounts typed into the
// money entry fields of this folder's editors and those built on them.

#include <QString>

namespace masterdata {

inline constexpr int kHelpProdDef = 430;

// The texts of the product editor's fields as typed (amounts as their field
// texts), and its check boxes.
struct ProductForm {
  QString id;
  QString description;
  QString second_line;
  QString price;    // "%8.2f"
  QString reorder;  // "%9.2f"
  QString licence_code;
  QString product_text;
  bool tax1 = false;
  bool tax2 = false;
  bool inventory = false;
};

struct ProductOpening {
  bool delete_enabled = false;
  QString tax1_caption;  // the settings' line labels, trimmed
  QString tax2_caption;
  ProductForm form;  // texts trimmed, amounts formatted
};

// Loads the product SelProd names (greater than 0), or clears ProdRec and
// sets SelProd to -1 for a new one.
ProductOpening OpenProductEditor();

// Save: false (the editor stays open, nothing written) for a blank ID, an ID
// another product already has, an amount that is not a number, or a record
// that could not be appended; true when stored (SelProd names the record).
[[nodiscard]] bool SaveProduct(const ProductForm& form);

// Marks the product SelProd names for deletion and sets the pack-pending flag.
void DeleteProduct();

// "Add & Edit Products / Services": opens Prod5, loops the product pick list
// and the editor until the pick list is cancelled, closes every table and
// packs Prod5 when a deletion is pending.
void RunProductCommand();

// Reads an amount typed into a money entry field (blanks ignored). A text
// that is not a number is reported as "'<text>' is not a valid number." and
// false is returned.
[[nodiscard]] bool ReadAmount(const QString& text, double* value);

}  // namespace masterdata
