#include "engine/data/sampledatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <cmath>
#include <cstdio>

namespace Orv::Data {

namespace {

// A small generator with a fixed algorithm, so the data do not depend on
// the standard library's distributions.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed ? seed : 1) {}
    quint64 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    int below(int n) { return int(next() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    template<typename T, size_t N>
    const T &pick(const T (&items)[N]) { return items[below(int(N))]; }

private:
    quint64 m_state;
};

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendBigEndian(QByteArray &out, quint32 v)
{
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

// A 16 by 16 PNG: a square of one colour with a diagonal of another.
QByteArray picture(quint32 rgb, quint32 accent)
{
    QByteArray raw;
    for (int y = 0; y < 16; ++y) {
        raw.append('\0');
        for (int x = 0; x < 16; ++x) {
            const quint32 c = (x == y || x == 15 - y) ? accent : rgb;
            raw.append(char(c >> 16)).append(char(c >> 8)).append(char(c));
        }
    }
    const auto chunk = [](QByteArray &png, const char *type, const QByteArray &data) {
        appendBigEndian(png, quint32(data.size()));
        const QByteArray body = QByteArray(type, 4) + data;
        png.append(body);
        appendBigEndian(png, crc32(body));
    };
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, 16);
    appendBigEndian(header, 16);
    header.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0));
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", qCompress(raw, 9).mid(4)); // qCompress prefixes the length to a zlib stream
    chunk(png, "IEND", QByteArray());
    return png;
}

const char *const schema = R"SQL(
CREATE TABLE Categories (
  CategoryID INTEGER PRIMARY KEY,
  CategoryName VARCHAR(15) NOT NULL,
  Description TEXT,
  Picture BLOB);
CREATE TABLE Suppliers (
  SupplierID INTEGER PRIMARY KEY,
  CompanyName VARCHAR(40) NOT NULL,
  ContactName VARCHAR(30),
  City VARCHAR(15),
  Country VARCHAR(15),
  Phone VARCHAR(24));
CREATE TABLE Products (
  ProductID INTEGER PRIMARY KEY,
  ProductName VARCHAR(40) NOT NULL,
  SupplierID INTEGER REFERENCES Suppliers(SupplierID),
  CategoryID INTEGER REFERENCES Categories(CategoryID),
  QuantityPerUnit VARCHAR(20),
  UnitPrice MONEY NOT NULL,
  UnitsInStock SMALLINT,
  Discontinued BOOLEAN NOT NULL,
  Picture BLOB);
CREATE TABLE Customers (
  CustomerID CHAR(5) PRIMARY KEY,
  CompanyName VARCHAR(40) NOT NULL,
  ContactName VARCHAR(30),
  City VARCHAR(15),
  Region VARCHAR(15),
  Country VARCHAR(15),
  Phone VARCHAR(24),
  Active BOOLEAN NOT NULL);
CREATE TABLE Employees (
  EmployeeID INTEGER PRIMARY KEY,
  LastName VARCHAR(20) NOT NULL,
  FirstName VARCHAR(10) NOT NULL,
  Title VARCHAR(30),
  BirthDate DATETIME,
  HireDate DATETIME,
  ReportsTo INTEGER REFERENCES Employees(EmployeeID));
CREATE TABLE Shippers (
  ShipperID INTEGER PRIMARY KEY,
  CompanyName VARCHAR(40) NOT NULL,
  Phone VARCHAR(24));
CREATE TABLE Orders (
  OrderID INTEGER PRIMARY KEY,
  CustomerID CHAR(5) REFERENCES Customers(CustomerID),
  EmployeeID INTEGER REFERENCES Employees(EmployeeID),
  OrderDate DATETIME NOT NULL,
  RequiredDate DATETIME,
  ShippedDate DATETIME,
  ShipVia INTEGER REFERENCES Shippers(ShipperID),
  Freight MONEY,
  ShipCountry VARCHAR(15));
CREATE TABLE "Order Details" (
  OrderID INTEGER NOT NULL REFERENCES Orders(OrderID),
  ProductID INTEGER NOT NULL REFERENCES Products(ProductID),
  UnitPrice MONEY NOT NULL,
  Quantity SMALLINT NOT NULL,
  Discount REAL NOT NULL,
  PRIMARY KEY (OrderID, ProductID));
CREATE TABLE 地区 (
  地区编号 INTEGER PRIMARY KEY,
  地区名称 VARCHAR(30) NOT NULL,
  国家 VARCHAR(15));
CREATE TABLE 销售目标 (
  目标编号 INTEGER PRIMARY KEY,
  地区编号 INTEGER NOT NULL REFERENCES 地区(地区编号),
  年份 SMALLINT NOT NULL,
  金额 MONEY NOT NULL);
CREATE VIEW "Product Sales" AS
  SELECT c.CategoryName, p.ProductName,
         round(sum(d.UnitPrice * d.Quantity * (1 - d.Discount)), 2) AS Sales
  FROM "Order Details" d
  JOIN Products p ON p.ProductID = d.ProductID
  JOIN Categories c ON c.CategoryID = p.CategoryID
  GROUP BY c.CategoryName, p.ProductName;
CREATE INDEX OrdersByCustomer ON Orders(CustomerID);
CREATE INDEX DetailsByProduct ON "Order Details"(ProductID);
)SQL";

const char *const categories[][2] = {
    {"Beverages", "Soft drinks, coffees, teas, beers, and ales"},
    {"Condiments", "Sweet and savory sauces, relishes, spreads, and seasonings"},
    {"Confections", "Desserts, candies, and sweet breads"},
    {"Dairy Products", "Cheeses"},
    {"Grains/Cereals", "Breads, crackers, pasta, and cereal"},
    {"Meat/Poultry", "Prepared meats"},
    {"Produce", "Dried fruit and bean curd"},
    {"Seafood", "Seaweed and fish"},
};
const char *const cities[][2] = {
    {"Berlin", "Germany"},  {"London", "UK"},          {"Madrid", "Spain"},     {"Paris", "France"},
    {"Lyon", "France"},     {"Seattle", "USA"},        {"Portland", "USA"},     {"Montréal", "Canada"},
    {"São Paulo", "Brazil"}, {"México D.F.", "Mexico"}, {"Graz", "Austria"},     {"Bern", "Switzerland"},
    {"Torino", "Italy"},    {"Oulu", "Finland"},       {"Luleå", "Sweden"},     {"Cork", "Ireland"},
    {"上海", "China"},      {"Tokyo", "Japan"},        {"Melbourne", "Australia"}, {"Århus", "Denmark"},
};
const char *const regions[] = {"WA", "OR", "BC", "SP", "RJ", "Co. Cork", "Québec"};
const char *const firstNames[] = {"Maria", "Ana", "Antonio", "Thomas", "Christina", "Hanna", "Frédérique", "Martín",
                                  "Laurence", "Elizabeth", "Victoria", "Patricio", "Francisco", "Yang", "Pedro", "Aria"};
const char *const lastNames[] = {"Anders", "Trujillo", "Moreno", "Hardy", "Berglund", "Moos", "Citeaux", "Sommer",
                                 "Lebihan", "Lincoln", "Ashworth", "Simpson", "Chang", "Wang", "Afonso", "Cruz"};
const char *const companyWords[] = {"Alfreds", "Around", "Blauer", "Bólido", "Bon", "Cactus", "Centro", "Chop-suey",
                                    "Drachen", "Eastern", "Ernst", "Folk", "Galería", "Hanari", "Island", "Königlich",
                                    "La maison", "Lazy K", "Magazzini", "Mère", "North", "Old World", "Que Delícia",
                                    "Rattlesnake", "Santé", "Seven Seas", "Simons", "Tortuga", "Vaffeljernet", "Wolski"};
const char *const companyKinds[] = {"Traders", "Markets", "Delicatessen", "Imports", "Grocers", "Handel", "Comidas",
                                    "& Co.", "Supermarkt", "Kiosk"};
const char *const productWords[] = {"Chai", "Chang", "Aniseed", "Cajun", "Gumbo", "Boysenberry", "Dried Pears",
                                    "Ikura", "Queso", "Konbu", "Tofu", "Pavlova", "Alice Mutton", "Carnarvon Tigers",
                                    "Teatime", "Sir Rodney's", "Gustaf's", "Tunnbröd", "Guaraná", "Nord-Ost",
                                    "Gorgonzola", "Mascarpone", "Geitost", "Sasquatch", "Steeleye", "Inlagd Sill",
                                    "Gravad lax", "Côte de Blaye", "Chartreuse", "Boston Crab", "Jack's Chowder",
                                    "Singaporean Noodles", "Ipoh Coffee", "Gula Malacca", "Rogede sild", "Spegesild",
                                    "Zaanse koeken", "Chocolade", "Maxilaku", "Valkoinen", "Manjimup", "Filo Mix",
                                    "Perth Pasties", "Tourtière", "Pâté chinois", "Gnocchi", "Ravioli", "Escargots",
                                    "Raclette", "Camembert", "Sirop d'érable", "Tarte au sucre", "Vegie-spread",
                                    "Wimmers", "Louisiana Fiery", "Louisiana Hot", "Laughing Lumberjack", "Scottish Longbreads",
                                    "Gudbrandsdalsost", "Outback Lager", "Flotemysost", "Mozzarella", "Röd Kaviar",
                                    "Longlife Tofu", "Rhönbräu", "Lakkalikööri", "Original Frankfurter", "龙井茶",
                                    "Pasta", "Olive Oil", "Mishi Kobe", "Schoggi", "Thüringer", "Nunca", "Uncle Bob's",
                                    "Northwoods", "Grandma's"};
const char *const units[] = {"10 boxes x 20 bags", "24 - 12 oz bottles", "12 - 550 ml bottles", "48 - 6 oz jars",
                             "36 boxes", "12 - 8 oz jars", "1 kg pkg.", "10 - 500 g pkgs.", "2 kg box", "40 - 100 g pkgs."};
const char *const titles[] = {"Sales Representative", "Vice President, Sales", "Sales Manager", "Inside Sales Coordinator"};

class Writer
{
public:
    explicit Writer(sqlite3 *db) : m_db(db) {}

    bool exec(const char *sql)
    {
        char *error = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) == SQLITE_OK)
            return true;
        m_error = QString::fromUtf8(error ? error : "unknown error");
        sqlite3_free(error);
        return false;
    }

    // Inserts one row; values are bound by type.
    bool insert(sqlite3_stmt *stmt, std::initializer_list<QVariant> values)
    {
        int i = 1;
        for (const QVariant &v : values) {
            switch (v.metaType().id()) {
            case QMetaType::UnknownType: sqlite3_bind_null(stmt, i); break;
            case QMetaType::Int:
            case QMetaType::LongLong: sqlite3_bind_int64(stmt, i, v.toLongLong()); break;
            case QMetaType::Bool: sqlite3_bind_int(stmt, i, v.toBool() ? 1 : 0); break;
            case QMetaType::Double: sqlite3_bind_double(stmt, i, v.toDouble()); break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                sqlite3_bind_blob(stmt, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                sqlite3_bind_text(stmt, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            }
            ++i;
        }
        const bool ok = sqlite3_step(stmt) == SQLITE_DONE;
        if (!ok)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(stmt);
        return ok;
    }

    sqlite3_stmt *prepare(const char *sql)
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        m_statements.push_back(stmt);
        return stmt;
    }

    ~Writer()
    {
        for (sqlite3_stmt *s : m_statements)
            sqlite3_finalize(s);
    }

    const QString &error() const { return m_error; }

private:
    sqlite3 *m_db;
    QString m_error;
    std::vector<sqlite3_stmt *> m_statements;
};

QString stamp(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

double money(double v)
{
    return std::round(v * 100.0) / 100.0;
}

Status fill(sqlite3 *db, int scale, const std::function<bool(int)> &progress)
{
    Writer w(db);
    const auto failed = [&] { return Status::failure(ErrProviderFailed, QStringLiteral("Cannot write the sample database: %1").arg(w.error())); };
    if (!w.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;") || !w.exec(schema))
        return failed();
    Random r(20261206);

    sqlite3_stmt *cat = w.prepare("INSERT INTO Categories VALUES (?, ?, ?, ?)");
    for (int i = 0; i < 8; ++i) {
        if (!w.insert(cat, {i + 1, QString::fromUtf8(categories[i][0]), QString::fromUtf8(categories[i][1]),
                            picture(0x204080u + quint32(i) * 0x101820u, 0xFFFFFFu)}))
            return failed();
    }
    const int supplierCount = 29;
    sqlite3_stmt *sup = w.prepare("INSERT INTO Suppliers VALUES (?, ?, ?, ?, ?, ?)");
    for (int i = 1; i <= supplierCount; ++i) {
        const auto &city = r.pick(cities);
        if (!w.insert(sup, {i, QString::fromUtf8(r.pick(companyWords)) + u' ' + QString::fromUtf8(r.pick(companyKinds)),
                            QString::fromUtf8(r.pick(firstNames)) + u' ' + QString::fromUtf8(r.pick(lastNames)),
                            QString::fromUtf8(city[0]), QString::fromUtf8(city[1]),
                            QStringLiteral("(%1) 555-%2").arg(r.between(100, 999)).arg(r.between(1000, 9999))}))
            return failed();
    }
    const int productCount = int(sizeof productWords / sizeof *productWords);
    std::vector<double> prices;
    sqlite3_stmt *prod = w.prepare("INSERT INTO Products VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int i = 1; i <= productCount; ++i) {
        const double price = money(2.5 + r.below(26000) / 100.0);
        prices.push_back(price);
        const int category = r.between(1, 8);
        if (!w.insert(prod, {i, QString::fromUtf8(productWords[i - 1]), r.between(1, supplierCount), category,
                             QString::fromUtf8(r.pick(units)), price, r.between(0, 125), r.below(10) == 0,
                             picture(0x10A060u + quint32(i) * 0x030507u, quint32(category) * 0x1F1F1Fu)}))
            return failed();
    }
    const int customerCount = 91 * scale;
    QStringList customerIds;
    sqlite3_stmt *cust = w.prepare("INSERT INTO Customers VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (int i = 0; i < customerCount; ++i) {
        QString id;
        for (int k = 0, n = i; k < 5; ++k, n /= 26)
            id.prepend(QChar(u'A' + (k == 4 ? (n + i * 7) % 26 : n % 26)));
        customerIds << id;
        const auto &city = r.pick(cities);
        const bool hasRegion = r.below(3) == 0;
        if (!w.insert(cust, {id, QString::fromUtf8(r.pick(companyWords)) + u' ' + QString::fromUtf8(r.pick(companyKinds)),
                             QString::fromUtf8(r.pick(firstNames)) + u' ' + QString::fromUtf8(r.pick(lastNames)),
                             QString::fromUtf8(city[0]), hasRegion ? QVariant(QString::fromUtf8(r.pick(regions))) : QVariant(),
                             QString::fromUtf8(city[1]), QStringLiteral("%1-%2").arg(r.between(10, 99)).arg(r.between(10000, 99999)),
                             r.below(8) != 0}))
            return failed();
    }
    sqlite3_stmt *emp = w.prepare("INSERT INTO Employees VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (int i = 1; i <= 9; ++i) {
        const QDateTime birth(QDate(1960 + r.below(30), r.between(1, 12), r.between(1, 28)), QTime(0, 0));
        const QDateTime hire(QDate(2010 + r.below(12), r.between(1, 12), r.between(1, 28)), QTime(0, 0));
        if (!w.insert(emp, {i, QString::fromUtf8(lastNames[i]), QString::fromUtf8(firstNames[i]),
                            QString::fromUtf8(titles[i == 2 ? 1 : (i == 5 ? 2 : (i == 8 ? 3 : 0))]), stamp(birth), stamp(hire),
                            i == 2 ? QVariant() : QVariant(i == 6 || i == 7 || i == 9 ? 5 : 2)}))
            return failed();
    }
    sqlite3_stmt *ship = w.prepare("INSERT INTO Shippers VALUES (?, ?, ?)");
    const char *const shippers[] = {"Speedy Express", "United Package", "Federal Shipping"};
    for (int i = 1; i <= 3; ++i) {
        if (!w.insert(ship, {i, QString::fromUtf8(shippers[i - 1]), QStringLiteral("(503) 555-%1").arg(9830 + i)}))
            return failed();
    }
    sqlite3_stmt *area = w.prepare("INSERT INTO 地区 VALUES (?, ?, ?)");
    const char *const areas[][2] = {{"华东", "China"}, {"华北", "China"}, {"华南", "China"}, {"西部", "China"}};
    for (int i = 1; i <= 4; ++i) {
        if (!w.insert(area, {i, QString::fromUtf8(areas[i - 1][0]), QString::fromUtf8(areas[i - 1][1])}))
            return failed();
    }
    sqlite3_stmt *target = w.prepare("INSERT INTO 销售目标 VALUES (?, ?, ?, ?)");
    for (int i = 1; i <= 12; ++i) {
        if (!w.insert(target, {i, (i - 1) % 4 + 1, 2024 + (i - 1) / 4, money(50000 + r.below(5000000) / 100.0)}))
            return failed();
    }

    const int orderCount = 4000 * scale;
    sqlite3_stmt *ord = w.prepare("INSERT INTO Orders VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    sqlite3_stmt *det = w.prepare("INSERT INTO \"Order Details\" VALUES (?, ?, ?, ?, ?)");
    const QDateTime start(QDate(2024, 1, 1), QTime(0, 0));
    const double discounts[] = {0, 0, 0, 0, 0.05, 0.1, 0.15, 0.2, 0.25};
    for (int i = 0; i < orderCount; ++i) {
        const int orderId = 10248 + i;
        const QDateTime ordered = start.addSecs(qint64(i) * 86400 * 3 / 4 / scale + r.below(8) * 3600);
        const bool shipped = r.below(20) != 0;
        const QString country = QString::fromUtf8(r.pick(cities)[1]);
        if (!w.insert(ord, {orderId, customerIds[r.below(customerCount)], r.between(1, 9), stamp(ordered),
                            stamp(ordered.addDays(28)), shipped ? QVariant(stamp(ordered.addDays(r.between(1, 30)))) : QVariant(),
                            r.between(1, 3), money(r.below(100000) / 100.0), country}))
            return failed();
        const int lines = r.between(1, 4);
        int product = r.between(1, productCount);
        for (int k = 0; k < lines; ++k) {
            product = (product + r.between(1, 9)) % productCount + 1;
            if (!w.insert(det, {orderId, product, prices[size_t(product - 1)], r.between(1, 120), r.pick(discounts)}))
                return failed();
        }
        if (progress && i % 2000 == 0 && !progress(i * 100 / orderCount))
            return Status::failure(ErrInvalidCall, QStringLiteral("Cancelled"));
    }
    if (!w.exec("COMMIT;"))
        return failed();
    if (progress)
        progress(100);
    return {};
}

} // namespace

Status createSampleDatabase(const QString &path, int scale, const std::function<bool(int)> &progress)
{
    if (scale < 1 || scale > MaxSampleScale)
        return Status::failure(ErrInvalidPropertyValue, QStringLiteral("The scale must lie between 1 and %1").arg(MaxSampleScale));
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return Status::failure(ErrPathAccess, QStringLiteral("%1: the folder does not exist").arg(path));
    const QString temporary = target.absoluteDir().filePath(QStringLiteral(".%1.part").arg(target.fileName()));
    QFile::remove(temporary);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(temporary.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return Status::failure(ErrPathAccess, QStringLiteral("%1: %2").arg(path, message));
    }
    const Status status = fill(db, scale, progress);
    sqlite3_close(db);
    if (!status.ok()) {
        QFile::remove(temporary);
        return status;
    }
    // rename() replaces an existing file in one step.
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        return Status::failure(ErrPathAccess, QStringLiteral("%1: cannot replace the file").arg(path));
    }
    return {};
}

} // namespace Orv::Data
