#include "DemoData.h"

#include <array>
#include <cstdio>
#include <deque>
#include <ostream>
#include <span>
#include <vector>

#include "DataDir.h"
#include "Random.h"
#include "SettingsRow.h"
#include "store/TableDefs.h"
#include "util/MoneyUtil.h"

namespace tool {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

constexpr int kSpanDays = 548;  // eighteen months
constexpr double kGstRate = 10.0;
constexpr long kFirstInvoice = 1001;

struct Product {
  const char* id;
  const char* desc;
  double price;
  bool inventory;
  bool gst;
  const char* licence;  // licence code printed on invoices, or null
  const char* text;     // product text printed at the bottom of invoices, or null
};

constexpr const char* kLicenceText =
    "This software is licensed for use on the number of computers shown on this invoice.\r\n"
    "Keep this invoice as your proof of licence. Updates: see our website.";
constexpr const char* kWarrantyText =
    "12 months return-to-base warranty. Keep this invoice as proof of purchase.";

constexpr Product kProducts[] = {
    // Stock items.
    {"PAPA4", "Copy paper A4 80gsm, ream", 6.95, true, true, nullptr, nullptr},
    {"PAPA3", "Copy paper A3 80gsm, ream", 13.50, true, true, nullptr, nullptr},
    {"TONER12A", "Toner cartridge 12A", 89.00, true, true, nullptr, nullptr},
    {"TONER26X", "Toner cartridge 26X", 229.00, true, true, nullptr, nullptr},
    {"INK-BLK", "Ink cartridge, black", 32.50, true, true, nullptr, nullptr},
    {"INK-CLR", "Ink cartridge, colour", 38.50, true, true, nullptr, nullptr},
    {"USB-32", "USB flash drive 32GB", 14.95, true, true, nullptr, nullptr},
    {"SSD-1TB", "Solid state drive 1TB", 129.00, true, true, nullptr, kWarrantyText},
    {"KBD-WL", "Wireless keyboard", 59.00, true, true, nullptr, nullptr},
    {"MOUSE-WL", "Wireless mouse", 29.95, true, true, nullptr, nullptr},
    {"MON-24", "24in LED monitor", 249.00, true, true, nullptr, kWarrantyText},
    {"CABLE-HD", "HDMI cable 2m", 12.50, true, true, nullptr, nullptr},
    {"ACCTS-STD", "Pelican Accounts Standard", 299.00, true, true, "PA-STD-24", kLicenceText},
    {"ACCTS-PRO", "Pelican Accounts Pro", 549.00, true, true, "PA-PRO-24", kLicenceText},
    {"AV-1PC", "Antivirus 1 year, 1 PC", 59.95, true, true, "AV1-7Q2K", kLicenceText},
    {"AV-3PC", "Antivirus 1 year, 3 PCs", 99.95, true, true, "AV3-7Q2K", kLicenceText},
    {"OFFICE-HB", "Office suite home/business", 349.00, true, true, "OHB-2024", kLicenceText},
    {"BACKUP-SW", "Backup software licence", 79.00, true, true, "BKP-5521", kLicenceText},
    {"PDF-PRO", "PDF editor pro licence", 129.00, true, true, "PDFP-903", kLicenceText},
    {"DRAW-CAD", "2D drafting software", 895.00, true, true, "CAD2D-11", kLicenceText},
    // Services and sundries.
    {"CONSULT", "Consulting, per hour", 120.00, false, true, nullptr, nullptr},
    {"INSTALL", "Installation, per hour", 95.00, false, true, nullptr, nullptr},
    {"CALLOUT", "Call-out fee", 65.00, false, true, nullptr, nullptr},
    {"TRAINING", "Training, per hour", 110.00, false, true, nullptr, nullptr},
    {"SUPPORT", "Remote support, per hour", 85.00, false, true, nullptr, nullptr},
    {"NETSETUP", "Network setup", 350.00, false, true, nullptr, nullptr},
    {"DATARECOV", "Data recovery", 290.00, false, true, nullptr, nullptr},
    {"REPAIR", "Workshop repair, per hour", 90.00, false, true, nullptr, nullptr},
    {"HEALTHCHK", "PC health check", 79.00, false, true, nullptr, nullptr},
    {"BACKUPSVC", "Managed backup, per month", 45.00, false, true, nullptr, nullptr},
    {"EMAILHOST", "Email hosting, per month", 12.00, false, true, nullptr, nullptr},
    {"WEBHOST", "Web hosting, per month", 25.00, false, true, nullptr, nullptr},
    {"DOMAIN", "Domain renewal, 1 year", 35.00, false, true, nullptr, nullptr},
    {"SSLCERT", "SSL certificate, 1 year", 89.00, false, true, nullptr, nullptr},
    {"WEBDESIGN", "Web design, per hour", 130.00, false, true, nullptr, nullptr},
    {"LOGO", "Logo design", 450.00, false, true, nullptr, nullptr},
    {"PRINT-BW", "Printing, black, per page", 0.15, false, true, nullptr, nullptr},
    {"PRINT-CLR", "Printing, colour, per page", 0.60, false, true, nullptr, nullptr},
    {"BINDING", "Comb binding", 4.50, false, true, nullptr, nullptr},
    {"LAMINATE", "Laminating, A4", 2.50, false, true, nullptr, nullptr},
    {"SCAN", "Scanning, per page", 0.30, false, true, nullptr, nullptr},
    {"TRAVEL", "Travel, per km", 0.85, false, true, nullptr, nullptr},
    {"MAINT-MTH", "Maintenance plan, monthly", 149.00, false, true, nullptr, nullptr},
    {"MAINT-YR", "Maintenance plan, yearly", 1490.00, false, true, nullptr, nullptr},
    {"MIGRATE", "Data migration", 380.00, false, true, nullptr, nullptr},
    {"SERVER", "Server configuration", 640.00, false, true, nullptr, nullptr},
    {"WIFI", "Wi-Fi site survey", 220.00, false, true, nullptr, nullptr},
    {"CCTV", "CCTV setup, per camera", 180.00, false, true, nullptr, nullptr},
    {"PHONE-SYS", "Phone system programming", 260.00, false, true, nullptr, nullptr},
    {"ONSITE", "On-site day rate", 880.00, false, true, nullptr, nullptr},
    {"AFTERHRS", "After hours, per hour", 165.00, false, true, nullptr, nullptr},
    {"DISPOSAL", "E-waste disposal", 25.00, false, true, nullptr, nullptr},
    {"EXPORT-SV", "Export service", 120.00, false, false, nullptr, nullptr},
    {"GOVFEE", "Government fee", 50.00, false, false, nullptr, nullptr},
    {"GIFTCARD", "Gift card", 50.00, false, false, nullptr, nullptr},
    {"BANKFEE", "Bank fee", 15.00, false, false, nullptr, nullptr},
    {"COURIER", "Courier, same day", 22.00, false, true, nullptr, nullptr},
    {"RUSH", "Rush job surcharge", 40.00, false, true, nullptr, nullptr},
    {"INSPECT", "Site inspection and quote", 55.00, false, true, nullptr, nullptr},
    {"CONFIG", "Device configuration", 75.00, false, true, nullptr, nullptr},
};

static_assert(static_cast<long>(std::size(kProducts)) == DemoOptions{}.products);

// Generated stock items for large demo sets: part names from these words.
constexpr const char* kPartWords[] = {"Bracket", "Cable",  "Adapter", "Fan",     "Switch",
                                      "Filter",  "Sensor", "Battery", "Charger", "Hub"};
constexpr const char* kPartSizes[] = {"small", "medium", "large", "kit", "pack of 10"};

// The products written: the catalogue's first ones, then generated stock
// items, whose texts live here.
struct Catalogue {
  std::vector<Product> products;
  std::deque<std::string> texts;  // a deque keeps the texts where they are
};

template <typename T, size_t N>
const T& Pick(DemoRandom& rng, const T (&items)[N]);

void FillCatalogue(DemoRandom& rng, long count, Catalogue* catalogue) {
  for (const Product& product : kProducts) {
    if (static_cast<long>(catalogue->products.size()) < count) {
      catalogue->products.push_back(product);
    }
  }
  for (long n = static_cast<long>(catalogue->products.size()) + 1; n <= count; ++n) {
    char id[32];
    std::snprintf(id, sizeof id, "STK%07ld", n);
    const std::string& id_text = catalogue->texts.emplace_back(id);
    const std::string& desc =
        catalogue->texts.emplace_back(std::string(Pick(rng, kPartWords)) + ", " +
                                      Pick(rng, kPartSizes) + " #" + std::to_string(n));
    const double price = static_cast<double>(rng.Between(200, 50000)) / 100.0;
    catalogue->products.push_back(
        {id_text.c_str(), desc.c_str(), price, !rng.Percent(10), true, nullptr, nullptr});
  }
}

constexpr const char* kGroups[] = {"Retail",    "Trade",      "Small Business",
                                   "Education", "Government", "Online"};

constexpr const char* kMaleTitles[] = {"Mr", "Mr", "Mr", "Dr", ""};
constexpr const char* kFemaleTitles[] = {"Ms", "Ms", "Mrs", "Dr", ""};
// Men's and women's names alternate.
constexpr const char* kFirstNames[] = {
    "James",  "Olivia", "William", "Charlotte", "Jack",    "Amelia", "Noah",   "Isla",
    "Thomas", "Mia",    "Henry",   "Grace",     "Oliver",  "Ava",    "Lucas",  "Chloe",
    "Samuel", "Ruby",   "Daniel",  "Emily",     "Matthew", "Sophie", "Liam",   "Zoe",
    "Ethan",  "Hannah", "Joshua",  "Ella",      "Ryan",    "Lily",   "Angus",  "Priya",
    "Wei",    "Mei",    "Arjun",   "Fatima",    "Luca",    "Giulia", "Connor", "Siobhan"};
constexpr const char* kLastNames[] = {
    "Smith",    "Jones",    "Williams",  "Brown",      "Wilson",  "Taylor",   "Nguyen",
    "Johnson",  "Martin",   "White",     "Anderson",   "Walker",  "Thompson", "Harris",
    "Lee",      "Ryan",     "Robinson",  "Kelly",      "King",    "Campbell", "Clarke",
    "Mitchell", "Chen",     "Patel",     "Murphy",     "O'Brien", "Rossi",    "Papadopoulos",
    "Singh",    "Kowalski", "MacDonald", "Fitzgerald", "Hughes",  "Edwards",  "Baker",
    "Young",    "Wright",   "Scott",     "Green",      "Hall"};
constexpr const char* kCompanyWords[] = {
    "Harbour",        "Coastal", "Summit",  "Redgum",   "Bluewater", "Ironbark",   "Northside",
    "Kestrel",        "Acacia",  "Granite", "Lakeside", "Pioneer",   "Silver Oak", "Riverbend",
    "Southern Cross", "Wattle",  "Banksia", "Highland", "Meridian",  "Parkview"};
constexpr const char* kCompanyKinds[] = {
    "Plumbing", "Electrical", "Dental",         "Accounting",  "Legal",       "Motors",
    "Bakery",   "Design",     "Physio",         "Real Estate", "Landscaping", "Cafe",
    "Joinery",  "Vet Clinic", "Primary School", "Council",     "Pharmacy",    "Builders"};
constexpr const char* kCompanySuffixes[] = {"Pty Ltd", "", "& Co", "Services", "Pty Ltd", ""};
constexpr const char* kStreets[] = {"Hunter St",   "King St",     "Beaumont St", "Darby St",
                                    "Parry St",    "Maitland Rd", "Brunker Rd",  "Glebe Rd",
                                    "Tudor St",    "Union St",    "Victoria St", "Scott St",
                                    "Pacific Hwy", "Lambton Rd",  "Young St",    "Bridge St",
                                    "Church St",   "High St",     "Railway Pde", "Ocean View Dr"};
constexpr const char* kBuildings[] = {"Suite 4, Level 2", "Unit 7",     "Shop 3",
                                      "Level 1",          "PO Box 512", "Factory 12"};
struct Town {
  const char* town;  // town and region, at most 19 characters
  const char* zip;
};
constexpr Town kTowns[] = {
    {"Newcastle NSW", "2300"},     {"Merewether NSW", "2291"}, {"Hamilton NSW", "2303"},
    {"Charlestown NSW", "2290"},   {"Maitland NSW", "2320"},   {"Cessnock NSW", "2325"},
    {"Gosford NSW", "2250"},       {"Sydney NSW", "2000"},     {"Parramatta NSW", "2150"},
    {"Port Stephens NSW", "2315"}, {"Brisbane QLD", "4000"},   {"Melbourne VIC", "3000"},
    {"Wollongong NSW", "2500"},    {"Canberra ACT", "2600"}};
constexpr const char* kSuburbs[] = {"Adamstown Heights", "The Junction", "Cooks Hill",
                                    "Warabrook",         "Wickham",      "Mayfield West"};
constexpr const char* kNotes[] = {"Prefers invoices by email", "Purchase order required",
                                  "Account on 30 days",        "Call before delivery",
                                  "Use rear entrance",         "Tax exempt for exports"};
constexpr const char* kComments[] = {
    "Long-standing customer since the shop opened.\r\nAsk for the office manager.",
    "Has a maintenance plan; check the renewal date before quoting.",
    "Pays by direct deposit.\r\nSend statements at the end of each month.",
    "Referred by another customer.",
};
constexpr const char* kDepartments[] = {"", "", "Sales", "Service", "Workshop", "Online"};
constexpr const char* kMemos[] = {"", "", "", "Visa", "Mastercard", "Cheque", "EFT", "Cash"};
constexpr const char* kLineComments[] = {"Serial no. on delivery note", "As quoted",
                                         "Warranty replacement", "Includes setup",
                                         "Back-ordered item supplied"};
constexpr const char* kInvoiceNotes[] = {
    "Thank you for your order.",
    "Delivered to site office.\r\nSigned for by reception.",
    "Quote ref. Q-2291 applies.",
};
constexpr double kDeliveryCharges[] = {8.50, 12.00, 15.00, 25.00};

template <typename T, size_t N>
const T& Pick(DemoRandom& rng, const T (&items)[N]) {
  return items[static_cast<size_t>(rng.Between(0, static_cast<int64_t>(N) - 1))];
}

std::string DateText(sys_days day) {
  const std::chrono::year_month_day ymd(day);
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  return text;
}

// A table opened without its index for bulk appending.
class Appender {
 public:
  Appender(CODE4* cb, store::Table table) : cb_(cb) {
    const int auto_open = code4autoOpen(cb, 0);
    data_ = d4open(cb, store::Def(table).name);
    code4autoOpen(cb, auto_open);
    name_ = store::Def(table).data_file;
    if (data_ == nullptr) failed_ = true;
  }
  ~Appender() { CloseAfterError(cb_, data_); }  // Finish was not reached
  Appender(const Appender&) = delete;
  Appender& operator=(const Appender&) = delete;

  FIELD4* Field(const char* name) {
    FIELD4* field = data_ != nullptr ? d4field(data_, name) : nullptr;
    if (field == nullptr) failed_ = true;
    return field;
  }
  // Sets a memo of the current record; a failure fails the table.
  void Memo(FIELD4* field, const char* text) {
    if (f4memoAssign(field, text) < 0) failed_ = true;
  }
  // Starts a new record; false once anything failed.
  bool Append() {
    if (failed_ || d4appendBlank(data_) < 0) failed_ = true;
    return !failed_;
  }
  // Closes the table; false when anything failed on the way.
  bool Finish(std::string* error) {
    const int close_rc = data_ != nullptr ? d4close(data_) : e4open;
    data_ = nullptr;
    const int pending = code4errorCode(cb_, 0);
    if (failed_ || close_rc < 0 || pending < 0) {
      *error =
          name_ + ": " + ErrorText(pending < 0 ? pending : (close_rc < 0 ? close_rc : e4write));
      return false;
    }
    return true;
  }

 private:
  CODE4* cb_;
  DATA4* data_ = nullptr;
  std::string name_;
  bool failed_ = false;
};

void Text(FIELD4* field, const std::string& text) { f4assign(field, text.c_str()); }
void Flag(FIELD4* field, bool value) { f4assign(field, value ? "T" : "F"); }

bool WriteGroups(CODE4* cb, std::string* error) {
  Appender table(cb, store::Table::kGroups);
  FIELD4* number = table.Field("nGroup");
  FIELD4* name = table.Field("cGroup");
  int n = 0;
  for (const char* group : kGroups) {
    if (!table.Append()) break;
    f4assignLong(number, ++n);
    Text(name, group);
  }
  return table.Finish(error);
}

std::string EmailName(std::string text) {
  std::string out;
  for (char c : text) {
    if (c >= 'A' && c <= 'Z')
      out += static_cast<char>(c - 'A' + 'a');
    else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
      out += c;
  }
  return out;
}

// Writes the customers; numbers has every customer number written.
bool WriteCustomers(CODE4* cb, DemoRandom& rng, long count, std::vector<long>* numbers,
                    std::string* error) {
  Appender table(cb, store::Table::kCustomers);
  FIELD4* cuno = table.Field("cuno");
  FIELD4* title = table.Field("title");
  FIELD4* first = table.Field("first");
  FIELD4* last = table.Field("last");
  FIELD4* addr1 = table.Field("addr1");
  FIELD4* addr2 = table.Field("addr2");
  FIELD4* addr3 = table.Field("addr3");
  FIELD4* addr4 = table.Field("addr4");
  FIELD4* zip = table.Field("zip");
  FIELD4* comments = table.Field("comments");
  FIELD4* ngroup = table.Field("ngroup");
  FIELD4* note = table.Field("note");
  FIELD4* phone = table.Field("phone");
  FIELD4* fax = table.Field("fax");
  FIELD4* email = table.Field("email");
  numbers->reserve(static_cast<size_t>(count));
  long number = 0;
  for (long i = 0; i < count; ++i) {
    // Now and then a customer was deleted and the table packed: a gap in the numbers.
    // Numbers stay within the six digits of the number field.
    const bool gap = rng.Percent(3);
    number += gap && number + 1 + (count - i) <= 999999 ? 2 : 1;
    if (!table.Append()) break;
    numbers->push_back(number);
    f4assignLong(cuno, number);
    const size_t name_index =
        static_cast<size_t>(rng.Between(0, static_cast<int64_t>(std::size(kFirstNames)) - 1));
    const std::string first_name = kFirstNames[name_index];
    const std::string last_name = Pick(rng, kLastNames);
    Text(title, name_index % 2 == 0 ? Pick(rng, kMaleTitles) : Pick(rng, kFemaleTitles));
    Text(first, first_name);
    Text(last, last_name);
    std::string domain = "example.com.au";
    if (rng.Percent(55)) {
      const std::string kind = Pick(rng, kCompanyKinds);
      std::string company = std::string(Pick(rng, kCompanyWords)) + " " + kind;
      const std::string suffix = Pick(rng, kCompanySuffixes);
      const bool public_body = kind == "Primary School" || kind == "Council";
      if (!public_body && !suffix.empty() && company.size() + 1 + suffix.size() <= 34) {
        company += " " + suffix;
      }
      Text(addr1, company);
      domain = EmailName(company.substr(0, company.find(' '))) + ".com.au";
    }
    const Town& town = Pick(rng, kTowns);
    const int shape = static_cast<int>(rng.Between(1, 10));
    const std::string street =
        std::to_string(rng.Between(1, 240)) + " " + std::string(Pick(rng, kStreets));
    if (shape <= 6) {  // street and town
      Text(addr2, street);
    } else if (shape <= 8) {  // building, street, town
      Text(addr2, Pick(rng, kBuildings));
      Text(addr3, street);
    } else if (shape == 9) {  // street, suburb, town
      Text(addr2, street);
      Text(addr3, Pick(rng, kSuburbs));
    }  // else: town alone
    Text(addr4, town.town);
    Text(zip, town.zip);
    if (rng.Percent(12)) table.Memo(comments, Pick(rng, kComments));
    f4assignLong(ngroup, rng.Between(1, std::size(kGroups)));
    if (rng.Percent(10)) Text(note, Pick(rng, kNotes));
    char phone_text[24];
    std::snprintf(phone_text, sizeof phone_text, "(02) 49%02d %04d",
                  static_cast<int>(rng.Between(0, 99)), static_cast<int>(rng.Between(0, 9999)));
    Text(phone, phone_text);
    if (rng.Percent(20)) {
      std::snprintf(phone_text, sizeof phone_text, "(02) 49%02d %04d",
                    static_cast<int>(rng.Between(0, 99)), static_cast<int>(rng.Between(0, 9999)));
      Text(fax, phone_text);
    }
    if (rng.Percent(80))
      Text(email, EmailName(first_name) + "." + EmailName(last_name) + "@" + domain);
  }
  return table.Finish(error);
}

bool WriteProducts(CODE4* cb, const Catalogue& catalogue, std::string* error) {
  Appender table(cb, store::Table::kProducts);
  FIELD4* id = table.Field("PrID");
  FIELD4* rcode = table.Field("RCode");
  FIELD4* desc = table.Field("PDesc");
  FIELD4* price = table.Field("UPrice");
  FIELD4* tax1 = table.Field("LTax1");
  FIELD4* tax2 = table.Field("LTax2");
  FIELD4* inven = table.Field("lInven");
  FIELD4* comment = table.Field("IComm");
  FIELD4* memo = table.Field("PMemo");
  FIELD4* reorder = table.Field("REORDER");
  FIELD4* onhand = table.Field("ONHAND");
  FIELD4* build = table.Field("lBuild");
  for (const Product& product : catalogue.products) {
    if (!table.Append()) break;
    Text(id, product.id);
    if (product.licence != nullptr) Text(rcode, product.licence);
    Text(desc, product.desc);
    f4assignDouble(price, product.price);
    Flag(tax1, false);
    Flag(tax2, product.gst);
    Flag(inven, product.inventory);
    if (!product.gst) Text(comment, "GST-free");
    if (product.text != nullptr) table.Memo(memo, product.text);
    f4assignDouble(reorder, product.inventory ? 5 : 0);
    f4assignDouble(onhand, 0);
    Flag(build, false);
  }
  return table.Finish(error);
}

bool WritePurchases(CODE4* cb, DemoRandom& rng, const Catalogue& catalogue, long count,
                    sys_days start, std::string* error) {
  std::vector<const Product*> stock;
  for (const Product& product : catalogue.products) {
    if (product.inventory) stock.push_back(&product);
  }
  Appender table(cb, store::Table::kPurchases);
  FIELD4* prod = table.Field("PURProd");
  FIELD4* date = table.Field("PURDate");
  FIELD4* qty = table.Field("PURQty");
  FIELD4* cost = table.Field("PURCost");
  FIELD4* number = table.Field("PURNo");
  for (long i = 0; i < count && !stock.empty(); ++i) {
    if (!table.Append()) break;
    const Product& product = *stock[static_cast<size_t>(rng.Between(0, stock.size() - 1))];
    const double quantity =
        static_cast<double>(product.licence != nullptr ? rng.Between(1, 10) : rng.Between(5, 60));
    const double unit_cost = product.price * static_cast<double>(rng.Between(45, 65)) / 100.0;
    Text(prod, product.id);
    Text(date, DateText(start + days(static_cast<int64_t>(i) * kSpanDays / count)));
    f4assignDouble(qty, quantity);
    f4assignDouble(cost, RoundMoney(quantity * unit_cost));
    f4assignLong(number, i + 1);
  }
  return table.Finish(error);
}

bool WriteInvoices(CODE4* cb, DemoRandom& rng, const DemoOptions& options,
                   const Catalogue& catalogue, const std::vector<long>& customers,
                   std::string* error) {
  Appender invoices(cb, store::Table::kInvoices);
  FIELD4* iv_no = invoices.Field("IvNo");
  FIELD4* cu_no = invoices.Field("CuNo");
  FIELD4* dept = invoices.Field("Dept");
  FIELD4* idate = invoices.Field("IDate");
  FIELD4* imemo = invoices.Field("IMemo");
  FIELD4* ship = invoices.Field("Ship");
  FIELD4* tax = invoices.Field("Tax");
  FIELD4* due = invoices.Field("Due");
  FIELD4* rem = invoices.Field("REM");
  Appender items(cb, store::Table::kLineItems);
  FIELD4* it_no = items.Field("IvNo");
  FIELD4* it_prod = items.Field("PrID");
  FIELD4* it_qty = items.Field("Qty");
  FIELD4* it_upr = items.Field("UPR");
  FIELD4* it_tax1 = items.Field("LTax1");
  FIELD4* it_tax2 = items.Field("LTax2");
  FIELD4* it_desc = items.Field("PDesc");
  FIELD4* it_comm = items.Field("IComm");
  FIELD4* it_build = items.Field("lBuild");
  FIELD4* it_back = items.Field("BackOrder");
  Appender payments(cb, store::Table::kPayments);
  FIELD4* pm_no = payments.Field("IvNo");
  FIELD4* pm_date = payments.Field("PDate");
  FIELD4* pm_amt = payments.Field("PAmt");
  FIELD4* pm_gst = payments.Field("GST");
  FIELD4* pm_lgst = payments.Field("lGST");

  const sys_days start = options.today - days(kSpanDays);
  const double gst_share = kGstRate / 100.0;
  bool ok = true;
  for (long i = 0; i < options.invoices && ok; ++i) {
    const long number = kFirstInvoice + i;
    const sys_days sold = start + days(static_cast<int64_t>(i) * kSpanDays / options.invoices);
    double subtotal = 0;
    double gst_base = 0;
    const int lines = static_cast<int>(rng.Between(1, 100) <= 40 ? 1 : rng.Between(2, 6));
    for (int line = 0; line < lines; ++line) {
      if (!items.Append()) {
        ok = false;
        break;
      }
      const Product& product =
          catalogue.products[static_cast<size_t>(rng.Between(0, catalogue.products.size() - 1))];
      double quantity;
      if (product.price < 1.0) {
        quantity = static_cast<double>(rng.Between(20, 400));  // pages, kilometres
      } else if (!product.inventory &&
                 std::string(product.desc).find("hour") != std::string::npos) {
        quantity = static_cast<double>(rng.Between(2, 16)) / 2.0;  // half hours
      } else {
        quantity = static_cast<double>(product.licence != nullptr ? rng.Between(1, 5)
                                                                  : rng.Between(1, 12));
      }
      double price = product.price;
      if (rng.Percent(8)) price = RoundMoney(price * 0.9);  // a discount
      const double total = RoundMoney(quantity * price);
      subtotal += total;
      if (product.gst) gst_base += total;
      f4assignLong(it_no, number);
      Text(it_prod, product.id);
      f4assignDouble(it_qty, quantity);
      f4assignDouble(it_upr, price);
      Flag(it_tax1, false);
      Flag(it_tax2, product.gst);
      Text(it_desc, product.desc);
      if (rng.Percent(6)) Text(it_comm, Pick(rng, kLineComments));
      Flag(it_build, false);
      f4assignDouble(it_back, 0);
    }
    if (!ok || !invoices.Append()) break;
    // Line 1 (delivery) has no rate, so it is typed; line 2 is 10 % GST on the
    // taxable line totals, without tax on the delivery.
    const double delivery = rng.Percent(30) ? Pick(rng, kDeliveryCharges) : 0.0;
    const double gst = RoundTax(gst_share * gst_base, kTaxRoundNormal);
    const double total = RoundMoney(subtotal + delivery + gst);

    // Older invoices are mostly paid; recent ones often still open.
    const int64_t age = (options.today - sold).count();
    const int roll = static_cast<int>(rng.Between(1, 100));
    double paid = 0;
    std::vector<double> amounts;
    if (roll <= (age > 60 ? 85 : 45)) {
      if (total > 500 && rng.Percent(25)) {  // two instalments
        const double part = RoundMoney(total / 2);
        amounts = {part, RoundMoney(total - part)};
      } else {
        amounts = {total};
      }
    } else if (roll <= (age > 60 ? 93 : 65)) {
      amounts = {RoundMoney(total * static_cast<double>(rng.Between(20, 80)) / 100.0)};
    }
    const bool includes_gst = rng.Percent(70);
    for (double amount : amounts) {
      if (amount <= 0) continue;
      if (!payments.Append()) {
        ok = false;
        break;
      }
      sys_days when = sold + days(rng.Between(0, 45));
      if (when > options.today) when = options.today;
      f4assignLong(pm_no, number);
      Text(pm_date, DateText(when));
      f4assignDouble(pm_amt, amount);
      f4assignDouble(pm_gst, includes_gst ? RoundMoney(gst_share * amount / (gst_share + 1)) : 0.0);
      Flag(pm_lgst, includes_gst);
      paid += amount;
    }

    f4assignLong(iv_no, number);
    f4assignLong(cu_no, customers[static_cast<size_t>(rng.Between(0, customers.size() - 1))]);
    Text(dept, Pick(rng, kDepartments));
    Text(idate, DateText(sold));
    Text(imemo, Pick(rng, kMemos));
    f4assignDouble(ship, delivery);
    f4assignDouble(tax, gst);
    f4assignDouble(due, RoundMoney(total - paid));
    if (rng.Percent(5)) invoices.Memo(rem, Pick(rng, kInvoiceNotes));
  }
  // Every table is finished, whatever failed first, so none stays open.
  std::string item_error, payment_error;
  const bool items_ok = items.Finish(&item_error);
  const bool payments_ok = payments.Finish(&payment_error);
  if (!invoices.Finish(error)) return false;
  if (!items_ok) *error = item_error;
  if (items_ok && !payments_ok) *error = payment_error;
  return ok && items_ok && payments_ok;
}

struct LabelStock {
  const char* name;
  double top, left, bottom, right, width, height, hgap, vgap;
  int across;
  bool continuous;
};

// Measures in printer points (1/72 inch).
constexpr LabelStock kLabelStocks[] = {
    {"A4 3 across, 21 labels 63.5 x 38.1mm", 42.803, 20.409, 42.803, 20.409, 180.000, 108.000,
     7.087, 0.000, 3, false},
    {"A4 2 across, 14 labels 99.1 x 38.1mm", 42.803, 13.181, 42.803, 13.181, 280.913, 108.000,
     7.087, 0.000, 2, false},
    {"Continuous 1 across, 3.5 x 15/16 in", 0.000, 9.000, 0.000, 0.000, 252.000, 67.500, 0.000,
     4.500, 1, true},
};

bool WriteLabels(CODE4* cb, std::string* error) {
  Appender table(cb, store::Table::kLabels);
  FIELD4* name = table.Field("Name");
  FIELD4* top = table.Field("TopM");
  FIELD4* left = table.Field("LeftM");
  FIELD4* bottom = table.Field("BottomM");
  FIELD4* right = table.Field("RightM");
  FIELD4* width = table.Field("Width");
  FIELD4* height = table.Field("Height");
  FIELD4* hgap = table.Field("HGap");
  FIELD4* vgap = table.Field("VGap");
  FIELD4* across = table.Field("NAcross");
  FIELD4* continuous = table.Field("Continuous");
  for (const LabelStock& stock : kLabelStocks) {
    if (!table.Append()) break;
    Text(name, stock.name);
    f4assignDouble(top, stock.top);
    f4assignDouble(left, stock.left);
    f4assignDouble(bottom, stock.bottom);
    f4assignDouble(right, stock.right);
    f4assignDouble(width, stock.width);
    f4assignDouble(height, stock.height);
    f4assignDouble(hgap, stock.hgap);
    f4assignDouble(vgap, stock.vgap);
    f4assignLong(across, stock.across);
    Flag(continuous, stock.continuous);
  }
  return table.Finish(error);
}

SettingsValues DemoSettings() {
  SettingsValues values = DefaultSettings();
  auto set = [&values](const std::string& name, const std::string& value) {
    for (auto& entry : values) {
      if (entry.first == name) {
        entry.second = value;
        return;
      }
    }
    values.emplace_back(name, value);
  };
  set("FontName", "DejaVu Sans Mono");
  set("FontSize", "10");
  set("LabID", kLabelStocks[0].name);
  set("Company", "Harbourside Office & IT");
  set("Addr1", "Suite 2, 118 Hunter Street");
  set("Addr2", "Newcastle NSW 2300");
  set("Addr3", "Phone (02) 4929 1100");
  set("Addr4", "ABN 51 824 753 556");
  set("CloLine", "Thank you for your business");
  set("SigLine", "Accounts Department");
  set("TopMargin", "0.50");
  set("LHJustify", "2");
  set("ShipLine", "Delivery");
  set("TaxLine", "GST");
  set("TaxRate1", "0");
  set("TaxRate2", "10");
  set("ShipTax", "1");
  set("TaxRound", "1");
  set("GSTField", "2");
  set("ByCust", "F");
  set("fifo", "T");
  return values;
}

}  // namespace

bool WriteDemoData(CODE4* cb, const DemoOptions& options, std::string* error) {
  DemoRandom rng(options.seed);
  std::vector<long> customers;
  Catalogue catalogue;
  if (!WriteSettingsRow(cb, DemoSettings(), error) || !WriteGroups(cb, error) ||
      !WriteCustomers(cb, rng, options.customers, &customers, error)) {
    return false;
  }
  FillCatalogue(rng, options.products, &catalogue);
  if (!WriteProducts(cb, catalogue, error) ||
      !WritePurchases(cb, rng, catalogue, options.purchases, options.today - days(kSpanDays),
                      error) ||
      !WriteLabels(cb, error)) {
    return false;
  }
  if (customers.empty() && options.invoices > 0) {
    *error = "invoices need at least one customer";
    return false;
  }
  return WriteInvoices(cb, rng, options, catalogue, customers, error);
}

int RunDemo(const std::string& directory, const DemoOptions& options, std::ostream& out,
            std::ostream& err) {
  std::string error;
  const auto build = [&options](CODE4* cb, std::string* failure) {
    return CreateTables(cb, failure) && WriteDemoData(cb, options, failure) &&
           BuildIndexGroups(cb, nullptr, failure);
  };
  if (!BuildNewDataSet(directory, build, &error)) {
    err << "pelmark-data: " << error << "\n";
    return kExitFailed;
  }
  out << "wrote a demo data set to " << directory << ": " << options.customers << " customers, "
      << options.invoices << " invoices, " << options.products << " products, " << options.purchases
      << " purchases (seed " << options.seed << ", today " << DateText(options.today) << ")\n";
  return kExitOk;
}

}  // namespace tool
