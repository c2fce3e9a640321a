#pragma once
// The entry routines through which every customer, group, product, invoice,
// purchase and label stock is chosen: the empty-table check, the pick list
// shown modally, and the hand-over to the table's editor when New is
// pressed. Each returns true when a record was chosen or created (its
// selection number then names it); *is_new says it was created.

#include "platform/Platform.h"

namespace masterdata {

[[nodiscard]] bool PickCustomer(bool allow_new, bool* is_new);
[[nodiscard]] bool PickGroup(bool allow_new, bool* is_new);
[[nodiscard]] bool PickProduct(bool allow_new, bool* is_new);
[[nodiscard]] bool PickInvoice(bool allow_new, bool* is_new);
[[nodiscard]] bool PickPurchase(bool allow_new, bool* is_new);
[[nodiscard]] bool PickLabel(bool allow_new, bool* is_new);

// Whether the pick list window `pick` shows its New button enabled; set by
// the entry routine before each showing.
bool PickNewEnabled(platform::WindowId pick);

// Editors that exist take New from their pick list; until an editor is
// registered here its pick list keeps New disabled. The customer and group
// editors are registered from the start.
void SetEditorReady(platform::WindowId editor, bool ready);
bool EditorReady(platform::WindowId editor);

}  // namespace masterdata
