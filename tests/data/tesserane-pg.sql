-- A small copy of the Tesserane Traders schema for the PostgreSQL tests:
-- the same tables, keys and column types as the sample database, with
-- rows made by generate_series so the counts are known.
CREATE TABLE "Categories" ("CategoryID" integer PRIMARY KEY, "CategoryName" varchar(15) NOT NULL, "Description" text, "Picture" bytea);
CREATE TABLE "Suppliers" ("SupplierID" integer PRIMARY KEY, "CompanyName" varchar(40) NOT NULL, "ContactName" varchar(30),
  "City" varchar(15), "Country" varchar(15), "Phone" varchar(24));
CREATE TABLE "Products" ("ProductID" integer PRIMARY KEY, "ProductName" varchar(40) NOT NULL,
  "SupplierID" integer REFERENCES "Suppliers", "CategoryID" integer REFERENCES "Categories",
  "QuantityPerUnit" varchar(20), "UnitPrice" money NOT NULL, "UnitsInStock" smallint, "Discontinued" boolean NOT NULL, "Picture" bytea);
CREATE TABLE "Customers" ("CustomerID" char(5) PRIMARY KEY, "CompanyName" varchar(40) NOT NULL, "ContactName" varchar(30),
  "City" varchar(15), "Region" varchar(15), "Country" varchar(15), "Phone" varchar(24), "Active" boolean NOT NULL);
CREATE TABLE "Employees" ("EmployeeID" integer PRIMARY KEY, "LastName" varchar(20) NOT NULL, "FirstName" varchar(10) NOT NULL,
  "Title" varchar(30), "BirthDate" timestamp, "HireDate" timestamp, "ReportsTo" integer REFERENCES "Employees");
CREATE TABLE "Shippers" ("ShipperID" integer PRIMARY KEY, "CompanyName" varchar(40) NOT NULL, "Phone" varchar(24));
CREATE TABLE "Orders" ("OrderID" integer PRIMARY KEY, "CustomerID" char(5) REFERENCES "Customers",
  "EmployeeID" integer REFERENCES "Employees", "OrderDate" timestamp NOT NULL, "RequiredDate" timestamp, "ShippedDate" timestamp,
  "ShipVia" integer REFERENCES "Shippers", "Freight" money, "ShipCountry" varchar(15));
CREATE TABLE "Order Details" ("OrderID" integer NOT NULL REFERENCES "Orders", "ProductID" integer NOT NULL REFERENCES "Products",
  "UnitPrice" money NOT NULL, "Quantity" smallint NOT NULL, "Discount" real NOT NULL, PRIMARY KEY ("OrderID", "ProductID"));
CREATE TABLE "地区" ("地区编号" integer PRIMARY KEY, "地区名称" varchar(30) NOT NULL, "国家" varchar(15));
CREATE TABLE "销售目标" ("目标编号" integer PRIMARY KEY, "地区编号" integer NOT NULL REFERENCES "地区", "年份" smallint NOT NULL, "金额" money NOT NULL);
CREATE VIEW "Product Sales" AS
  SELECT c."CategoryName", p."ProductName", sum(d."UnitPrice" * d."Quantity") AS "Sales"
  FROM "Order Details" d JOIN "Products" p ON p."ProductID" = d."ProductID" JOIN "Categories" c ON c."CategoryID" = p."CategoryID"
  GROUP BY 1, 2;

INSERT INTO "Categories" SELECT i, 'Category ' || i, 'About ' || i, '\x89504e47'::bytea FROM generate_series(1, 8) i;
INSERT INTO "Suppliers" SELECT i, 'Supplier ' || i, 'Contact ' || i, 'City', 'Country', '555' FROM generate_series(1, 5) i;
INSERT INTO "Products" SELECT i, 'Product ' || i, i % 5 + 1, i % 8 + 1, '1 box', (i * 1.25)::numeric::money, i, i % 10 = 0, NULL
  FROM generate_series(1, 20) i;
INSERT INTO "Customers" SELECT chr(65 + i / 26) || chr(65 + i % 26) || 'AAA', 'Customer ' || i, 'Contact ' || i, 'City ' || i % 3,
  CASE WHEN i % 3 = 0 THEN 'WA' END, (ARRAY['Germany', 'France', 'USA', 'Brazil'])[i % 4 + 1], '555-' || i, i % 8 <> 0
  FROM generate_series(0, 39) i;
INSERT INTO "Employees" SELECT i, 'Last' || i, 'First' || i, 'Sales Representative', '1980-01-01', '2015-06-01', NULL FROM generate_series(1, 9) i;
INSERT INTO "Shippers" SELECT i, 'Shipper ' || i, '555' FROM generate_series(1, 3) i;
INSERT INTO "Orders" SELECT 10248 + i, chr(65 + (i % 40) / 26) || chr(65 + (i % 40) % 26) || 'AAA', i % 9 + 1,
  timestamp '2024-01-01' + i * interval '1 day', timestamp '2024-01-29' + i * interval '1 day', NULL, i % 3 + 1, (i * 0.5)::numeric::money, 'France'
  FROM generate_series(0, 199) i;
INSERT INTO "Order Details" SELECT 10248 + i, k, (k * 1.25)::numeric::money, k, 0 FROM generate_series(0, 199) i, generate_series(1, 3) k;
INSERT INTO "地区" VALUES (1, '华东', 'China'), (2, '华北', 'China');
INSERT INTO "销售目标" VALUES (1, 1, 2024, 1000), (2, 2, 2024, 2000);
