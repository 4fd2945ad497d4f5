-- Schema of a new, empty shop database (SQLite). Statements are separated by lines that
-- hold only a semicolon-terminated statement end; the program runs them in order.
CREATE TABLE t_order_type_02 (
    OrderTypeID INTEGER PRIMARY KEY,
    OrderTypeName TEXT,
    OrderTypeOrder INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE t_order_state_02 (
    OrderStateID INTEGER PRIMARY KEY,
    OrderStateName TEXT,
    OrderStateColor INTEGER,
    OrderStateOrder INTEGER NOT NULL DEFAULT 0,
    OrderStateListOrder INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE t_customer_02 (
    CustomerID INTEGER PRIMARY KEY AUTOINCREMENT,
    CustomerCode TEXT,
    CustomerShowCode BOOLEAN NOT NULL DEFAULT 0,
    CustomerName TEXT,
    CustomerStreet TEXT,
    CustomerCity TEXT,
    CustomerPSC TEXT,
    CustomerPhoneNo TEXT,
    CustomerEMail TEXT
);

CREATE TABLE t_order_02 (
    OrderID TEXT NOT NULL,
    OrderTypeID INTEGER,
    OrderReceiptDate DATETIME,
    OrderDeadlineDate DATETIME,
    OrderFaultDescription TEXT,
    OrderExpectedPricePrimary TEXT,
    OrderExpectedCurrencyPrimary TEXT,
    OrderExpectedPriceSecondary TEXT,
    OrderExpectedCurrencySecondary TEXT,
    OrderCustomerID INTEGER,
    OrderStateID INTEGER,
    OrderEngineerName TEXT,
    OrderRepairDescription TEXT,
    OrderSoftware BOOLEAN NOT NULL DEFAULT 0,
    OrderIssueDate DATETIME,
    OrderFinalPricePrimary REAL,
    OrderFinalCurrencyPrimary TEXT,
    OrderFinalPriceSecondary REAL,
    OrderFinalCurrencySecondary TEXT,
    OrderComponentsPricePrimary REAL,
    OrderComponentsCurrencyPrimary TEXT,
    OrderComponentsPriceSecondary REAL,
    OrderComponentsCurrencySecondary TEXT,
    OrderRepairNote TEXT,
    OrderRepairImage TEXT,
    OrderPhone BOOLEAN NOT NULL DEFAULT 0,
    OrderPhoneType TEXT,
    OrderPhoneIMEI TEXT,
    OrderBattery BOOLEAN NOT NULL DEFAULT 0,
    OrderBatteryType TEXT,
    OrderBatterySN TEXT,
    OrderCharger BOOLEAN NOT NULL DEFAULT 0,
    OrderCover BOOLEAN NOT NULL DEFAULT 0,
    OrderSIM BOOLEAN NOT NULL DEFAULT 0,
    OrderWarrantyCert BOOLEAN NOT NULL DEFAULT 0,
    OrderNote TEXT,
    OrderEmailSent BOOLEAN NOT NULL DEFAULT 0
);

-- Indexes. The program also adds any that an older file lacks when it opens the file (and
-- drops those that a newer one here replaces), so every statement below is one of
-- "CREATE [UNIQUE] INDEX IF NOT EXISTS" or "DROP INDEX IF EXISTS".
-- The order list: the states one after another, each by descending number, with the
-- intake date for the age limit (also the per-state counts).
CREATE UNIQUE INDEX IF NOT EXISTS ix_order_id ON t_order_02 (OrderID);
CREATE INDEX IF NOT EXISTS ix_order_list ON t_order_02 (OrderStateID, OrderID, OrderReceiptDate);
-- The list's filters. Parts of an IMEI are looked for in the narrow index of IMEIs (few
-- orders match); the other filtered columns come with what the list needs besides, so
-- that a filter that many orders pass finds them in its index alone.
CREATE INDEX IF NOT EXISTS ix_order_imei ON t_order_02 (OrderPhoneIMEI);
CREATE INDEX IF NOT EXISTS ix_order_customer_list
    ON t_order_02 (OrderCustomerID, OrderStateID, OrderID, OrderReceiptDate);
CREATE INDEX IF NOT EXISTS ix_order_engineer_list
    ON t_order_02 (OrderEngineerName, OrderStateID, OrderID, OrderReceiptDate);
CREATE INDEX IF NOT EXISTS ix_order_phone_type_list
    ON t_order_02 (OrderPhoneType, OrderStateID, OrderID, OrderReceiptDate);
-- Takings: handed-back orders by issue date with their price (totals read only this).
CREATE INDEX IF NOT EXISTS ix_order_revenue
    ON t_order_02 (OrderStateID, OrderIssueDate, OrderFinalPricePrimary);
CREATE INDEX IF NOT EXISTS ix_order_issue_date ON t_order_02 (OrderIssueDate);
CREATE INDEX IF NOT EXISTS ix_order_receipt ON t_order_02 (OrderReceiptDate);
-- The suggestion list of battery types (engineers and devices have theirs above).
CREATE INDEX IF NOT EXISTS ix_order_battery_type ON t_order_02 (OrderBatteryType);
CREATE INDEX IF NOT EXISTS ix_customer_name ON t_customer_02 (CustomerName);
CREATE INDEX IF NOT EXISTS ix_customer_phone ON t_customer_02 (CustomerPhoneNo);
-- Replaced by the indexes above, which begin with the same columns.
DROP INDEX IF EXISTS ix_order_customer;
DROP INDEX IF EXISTS ix_order_engineer;
DROP INDEX IF EXISTS ix_order_phone_type;
DROP INDEX IF EXISTS ix_order_issue;

CREATE TABLE t_phone_01 (
    PhoneName TEXT
);
CREATE INDEX ix_phone_name ON t_phone_01 (PhoneName);

CREATE TABLE t_filter_phone_01 (
    FilterPhoneID INTEGER,
    PhoneName TEXT
);

CREATE TABLE t_filter_engineer_01 (
    FilterEngineerID INTEGER,
    EngineerName TEXT
);

CREATE TABLE t_config_01 (
    ConfigKey TEXT NOT NULL PRIMARY KEY,
    ConfigValue TEXT
);

-- Colours are stored as the shop's list colour numbers: blue-green-red byte order.
INSERT INTO t_order_state_02 VALUES (1, 'Nová', 8388608, 1, 1);
INSERT INTO t_order_state_02 VALUES (2, 'V opravě', 32768, 2, 2);
INSERT INTO t_order_state_02 VALUES (3, 'Hotová', 128, 3, 3);
INSERT INTO t_order_state_02 VALUES (4, 'Vydaná', 8421504, 4, 4);

INSERT INTO t_order_type_02 VALUES (1, 'Reklamace', 3);
INSERT INTO t_order_type_02 VALUES (2, 'Záruční oprava', 2);
INSERT INTO t_order_type_02 VALUES (3, 'Placená oprava', 1);
INSERT INTO t_order_type_02 VALUES (4, 'Odblokování / software', 4);
INSERT INTO t_order_type_02 VALUES (5, 'Prodejna', 5);
INSERT INTO t_order_type_02 VALUES (6, 'Posouzení / diagnostika', 6);

-- A new shop types its engineers and device models freely until it has built its lists,
-- and sees its order list from the first start.
INSERT INTO t_config_01 VALUES ('FEPhone', '1');
INSERT INTO t_config_01 VALUES ('FEEngineer', '1');
INSERT INTO t_config_01 VALUES ('ShowOrders', '1');

-- Device models a shop meets every day; the suggestion lists start with them.
INSERT INTO t_phone_01 VALUES ('Apple iPhone 11');
INSERT INTO t_phone_01 VALUES ('Apple iPhone 12');
INSERT INTO t_phone_01 VALUES ('Apple iPhone 13');
INSERT INTO t_phone_01 VALUES ('Apple iPhone 14');
INSERT INTO t_phone_01 VALUES ('Apple iPhone 15');
INSERT INTO t_phone_01 VALUES ('Apple iPhone SE (2022)');
INSERT INTO t_phone_01 VALUES ('Google Pixel 7');
INSERT INTO t_phone_01 VALUES ('Google Pixel 8');
INSERT INTO t_phone_01 VALUES ('Honor Magic5 Lite');
INSERT INTO t_phone_01 VALUES ('Huawei P30 Lite');
INSERT INTO t_phone_01 VALUES ('Motorola Moto G54');
INSERT INTO t_phone_01 VALUES ('Nokia G21');
INSERT INTO t_phone_01 VALUES ('OnePlus Nord CE 3 Lite');
INSERT INTO t_phone_01 VALUES ('Samsung Galaxy A14');
INSERT INTO t_phone_01 VALUES ('Samsung Galaxy A34');
INSERT INTO t_phone_01 VALUES ('Samsung Galaxy A54');
INSERT INTO t_phone_01 VALUES ('Samsung Galaxy S21');
INSERT INTO t_phone_01 VALUES ('Samsung Galaxy S23');
INSERT INTO t_phone_01 VALUES ('Samsung Galaxy Xcover 6 Pro');
INSERT INTO t_phone_01 VALUES ('Xiaomi Redmi Note 12');
INSERT INTO t_phone_01 VALUES ('Xiaomi Redmi Note 13');
INSERT INTO t_phone_01 VALUES ('Xiaomi Redmi 12C');
