#pragma once
// The program-wide records, one per table, with one member per field under
// the field's name, and the table and field handles the open routines fill.
// Which member and handle each field maps to is described with the table in
// TableDefs.cpp.

#include <QString>

#include "engine/TableEngine.h"
#include "util/DateUtil.h"

// --- Records -------------------------------------------------------------------
// One member per field, under the field's name. Texts are held as read (blank
// padded to the field width); dates are whole days, 0 for none.

struct SettingsRecord {
  QString FontName;
  int FontSize = 0;
  QString LabID;
  QString Company;
  QString Addr1;
  QString Addr2;
  QString Addr3;
  QString Addr4;
  QString CloLine;
  QString SigLine;
  QString LogoFile;
  double LogoHeight = 0;
  double LogoWidth = 0;
  double TopMargin = 0;
  int LHJustify = 1;
  QString ShipLine;
  QString TaxLine;
  double TaxRate1 = 0;
  double TaxRate2 = 0;
  int ShipTax = 1;
  int TaxRound = 1;
  int GSTField = 2;
  bool ByCust = true;
  bool fifo = true;
};

struct CustomerRecord {
  long cuno = 0;
  QString title;
  QString first;
  QString last;
  QString addr1;
  QString addr2;
  QString addr3;
  QString addr4;
  QString zip;
  QString comments;
  int ngroup = 0;
  QString note;
  QString phone;
  QString fax;
  QString email;
};

struct GroupRecord {
  int nGroup = 0;
  QString cGroup;
};

struct InvoiceRecord {
  long IvNo = 0;
  long CuNo = 0;
  QString Dept;
  TDate IDate = 0;
  QString IMemo;
  double Ship = 0;
  double Tax = 0;
  double Due = 0;
  QString REM;
};

struct LineItemRecord {
  long IvNo = 0;
  QString PrID;
  double Qty = 0;
  double UPR = 0;
  bool LTax1 = false;
  bool LTax2 = false;
  QString PDesc;
  QString IComm;
  bool lBuild = false;
  double BackOrder = 0;
};

struct PaymentRecord {
  long IvNo = 0;
  TDate PDate = 0;
  double PAmt = 0;
  double GST = 0;
  bool lGST = false;
};

struct ProductRecord {
  QString PrID;
  QString RCode;
  QString PDesc;
  double UPrice = 0;
  bool LTax1 = false;
  bool LTax2 = false;
  bool lInven = false;
  QString IComm;
  QString PMemo;
  double REORDER = 0;
  double ONHAND = 0;
  bool lBuild = false;
};

struct PurchaseRecord {
  QString PURProd;
  TDate PURDate = 0;
  double PURQty = 0;
  double PURCost = 0;
  long PURNo = 0;
};

struct LabelRecord {
  QString Name;
  double TopM = 0;
  double LeftM = 0;
  double BottomM = 0;
  double RightM = 0;
  double Width = 0;
  double Height = 0;
  double HGap = 0;
  double VGap = 0;
  int NAcross = 1;
  bool Continuous = false;
};

extern SettingsRecord Settings;  // lives for the whole run
extern CustomerRecord CustRec;
extern GroupRecord GroupRec;
extern InvoiceRecord InvRec;  // the current invoice's header
extern LineItemRecord ItemRec;
extern PaymentRecord PmtRec;
extern ProductRecord ProdRec;
extern PurchaseRecord PurRec;
extern LabelRecord LabelRec;

// --- Table and field handles ---------------------------------------------------
// Valid from the open routine until the table (or every table) is closed.

extern DATA4* SettingsDb;
extern DATA4* CustDb;
extern DATA4* GroupDb;
extern DATA4* InvDb;
extern DATA4* ItemDb;
extern DATA4* PmtDb;
extern DATA4* ProdDb;
extern DATA4* PurDb;
extern DATA4* LabelDb;

struct SettingsFields {
  FIELD4 *FontName, *FontSize, *LabID, *Company, *Addr1, *Addr2, *Addr3, *Addr4, *CloLine, *SigLine,
      *LogoFile, *LogoHeight, *LogoWidth, *TopMargin, *LHJustify, *ShipLine, *TaxLine, *TaxRate1,
      *TaxRate2, *ShipTax, *TaxRound, *GSTField, *ByCust, *fifo;
};
struct CustomerFields {
  FIELD4 *cuno, *title, *first, *last, *addr1, *addr2, *addr3, *addr4, *zip, *comments, *ngroup,
      *note, *phone, *fax, *email;
};
struct GroupFields {
  FIELD4 *nGroup, *cGroup;
};
struct InvoiceFields {
  FIELD4 *IvNo, *CuNo, *Dept, *IDate, *IMemo, *Ship, *Tax, *Due, *REM;
};
struct LineItemFields {
  FIELD4 *IvNo, *PrID, *Qty, *UPR, *LTax1, *LTax2, *PDesc, *IComm, *lBuild, *BackOrder;
};
struct PaymentFields {
  FIELD4 *IvNo, *PDate, *PAmt, *GST, *lGST;
};
struct ProductFields {
  FIELD4 *PrID, *RCode, *PDesc, *UPrice, *LTax1, *LTax2, *lInven, *IComm, *PMemo, *REORDER, *ONHAND,
      *lBuild;
};
struct PurchaseFields {
  FIELD4 *PURProd, *PURDate, *PURQty, *PURCost, *PURNo;
};
struct LabelFields {
  FIELD4 *Name, *TopM, *LeftM, *BottomM, *RightM, *Width, *Height, *HGap, *VGap, *NAcross,
      *Continuous;
};

extern SettingsFields SettingsFld;
extern CustomerFields CustFld;
extern GroupFields GroupFld;
extern InvoiceFields InvFld;
extern LineItemFields ItemFld;
extern PaymentFields PmtFld;
extern ProductFields ProdFld;
extern PurchaseFields PurFld;
extern LabelFields LabelFld;
