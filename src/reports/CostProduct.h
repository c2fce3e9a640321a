#pragma once
// Stock costing for the inventory reports: a product's purchase lots on or
// before a cut-off date are matched against the quantities sold on invoices,
// first in first out or last in first out (Settings.fifo), giving the
// quantity and cost left in stock, the quantity on order after the cut-off
// and the quantity sold that no lot covered. Nothing is rounded here; the
// reports round when they print.
//
// Beside the four figures the reports print, the costing gives SoldCost: the
// cost the sales dated on or before the cut-off took out of the lots (each
// matched quantity at its lot's unit cost; a return that goes back into a
// lot counts negative). Quantities sold that no lot covered (Unmatched) cost
// nothing until a later cut-off brings lots that cover them. So, for every
// cut-off, the cost of the lots bought (purchases with a quantity above 0
// dated on or before it) = LotCost + SoldCost.
//
// The cost of what was sold in a period from S to E is therefore
// SoldCost(E) - SoldCost(S - 1): what the sales up to the period's end took
// out of stock, less what the sales before the period had taken as costed
// the day before. It is not merely the cost of the sales dated in the
// period: it also holds earlier sales that were unmatched before the period
// and are covered by lots bought in it, and earlier sales whose lots change
// once later lots exist (the second pass of last in first out, and matching
// in invoice-number order rather than by date). With it,
//   beginning inventory + lot purchases in the period - ending inventory
//     = the cost of what was sold in the period,
// for either method. The cost of goods report's purchases also count
// purchases that never become lots (untracked products, quantities of 0 or
// less); the identity holds for the lots alone.

#include <QString>
#include <vector>

#include "util/DateUtil.h"

// The results of one costing; all 0 for a product whose stock is not tracked.
struct Costing {
  double LotQty = 0;     // quantity left in the lots after matching
  double LotCost = 0;    // sum over the lots of remaining quantity x unit cost
  double OnOrder = 0;    // quantity of the purchases dated after the cut-off
  double Unmatched = 0;  // quantity sold that no lot gave: later sales, and sales beyond the lots
  double SoldCost = 0;   // cost the matched sales took out of the lots
};

// The matching of one product's sales against its lots for one cut-off.
// Purchases come in the order of the purchase tag (by date), sales in the
// order they are matched.
class LotMatcher {
 public:
  // Starts over with no lots and all results 0.
  void Reset(TDate cutoff, bool fifo);
  // A purchase: with a quantity above 0 a lot when dated on or before the
  // cut-off, on order when dated after it; ignored otherwise. cost is the
  // cost of the whole purchase.
  void AddPurchase(TDate date, double quantity, double cost);
  // A quantity sold on an invoice of that date: taken from the lots unless
  // the sale is dated after the cut-off or there are no lots; what the lots
  // did not give is Unmatched.
  void Sell(TDate date, double quantity);
  // LotQty, LotCost and SoldCost from the lots as they stand, OnOrder and
  // Unmatched as gathered.
  Costing Result() const;

 private:
  struct Lot {
    TDate date;
    double bought;
    double remaining;
    double unit_cost;
  };
  // Takes up to `left` from the lot (all of `left` when the lot holds
  // enough, which includes a negative `left`); returns what is still left.
  static double Take(Lot& lot, double left);
  double TakeFirstIn(double left);
  double TakeLastIn(TDate sale_date, double left);

  TDate cutoff_ = 0;
  bool fifo_ = true;
  std::vector<Lot> lots_;
  double on_order_ = 0;
  double unmatched_ = 0;
};

// While one lives, the invoice dates CostProduct looks up are remembered, so
// costing every product again (the cost of goods: the stock before and at
// the end of a span) seeks each invoice once. The stock reports hold one
// while they run; the invoices do not change meanwhile.
class InvoiceDateMemo {
 public:
  InvoiceDateMemo();
  ~InvoiceDateMemo();
  InvoiceDateMemo(const InvoiceDateMemo&) = delete;
  InvoiceDateMemo& operator=(const InvoiceDateMemo&) = delete;

 private:
  std::vector<TDate> dates_;  // by invoice number
  std::vector<TDate>* previous_;
};

// The results of the last CostProduct.
extern Costing ProductCost;

// Costs the product with this code at the cut-off into ProductCost, with the
// method of Settings.fifo. False (and all results 0) when the product's
// stock is not tracked or there is no such product. Reads Prod5 (kept on its
// record when that is the product, else sought by code), its purchases in
// Pur5 under "Pur", and its lines in ITM5, which the caller has put under
// "ItmP", with each line's invoice date from INV5 under "Inv"; a line whose
// invoice is missing is left out.
bool CostProduct(const QString& code, TDate cutoff);
