-- QovCom article database, embedded engine (SQLite).
-- This file makes an empty database. The program runs it only to make the per-user program
-- folder's QovCom.db at its first start; otherwise it never creates or alters tables.
--
-- QOV_PLU          articles prepared on the PC (the article editor's table)
-- QOV_PLU_RCV      articles last read back from the register
-- QOV_PLU_RCV_SOLD articles with sales last read back from the register
-- PORT             the stored line set-up, one row
--
-- Yes/no values (ONE_ITEM) are stored as 0 or 1. BAR_CODE is text: 12 digits, zero-padded
-- on the left, so text order is numeric order. MAX_VALUE is left out by the editor's
-- insert and takes its default.

CREATE TABLE QOV_PLU (
    BAR_CODE    VARCHAR(12)   NOT NULL DEFAULT '',
    DESCRIPTION VARCHAR(28)   NOT NULL DEFAULT '',
    PRICE       NUMERIC(10,2) NOT NULL DEFAULT 0,
    VAT_CODE    SMALLINT      NOT NULL DEFAULT 0,
    MES_TYPE    SMALLINT      NOT NULL DEFAULT 0,
    ART_TYPE    SMALLINT      NOT NULL DEFAULT 0,
    ONE_ITEM    SMALLINT      NOT NULL DEFAULT 0,
    DEPARTMENT  SMALLINT      NOT NULL DEFAULT 0,
    INVENTARY   NUMERIC(9,3)  NOT NULL DEFAULT 0,
    MAX_VALUE   NUMERIC(12,2) NOT NULL DEFAULT 0
);
CREATE INDEX QOV_PLU_BAR_CODE ON QOV_PLU (BAR_CODE);

CREATE TABLE QOV_PLU_RCV (
    BAR_CODE    VARCHAR(12)   NOT NULL DEFAULT '',
    DESCRIPTION VARCHAR(28)   NOT NULL DEFAULT '',
    PRICE       NUMERIC(10,2) NOT NULL DEFAULT 0,
    VAT_CODE    SMALLINT      NOT NULL DEFAULT 0,
    MES_TYPE    SMALLINT      NOT NULL DEFAULT 0,
    ART_TYPE    SMALLINT      NOT NULL DEFAULT 0,
    ONE_ITEM    SMALLINT      NOT NULL DEFAULT 0,
    DEPARTMENT  SMALLINT      NOT NULL DEFAULT 0,
    INVENTARY   NUMERIC(9,3)  NOT NULL DEFAULT 0,
    MAX_VALUE   NUMERIC(12,2) NOT NULL DEFAULT 0,
    TOTAL       NUMERIC(13,2) NOT NULL DEFAULT 0,
    QTY         NUMERIC(12,3) NOT NULL DEFAULT 0
);
CREATE INDEX QOV_PLU_RCV_BAR_CODE ON QOV_PLU_RCV (BAR_CODE);

CREATE TABLE QOV_PLU_RCV_SOLD (
    BAR_CODE    VARCHAR(12)   NOT NULL DEFAULT '',
    DESCRIPTION VARCHAR(28)   NOT NULL DEFAULT '',
    PRICE       NUMERIC(10,2) NOT NULL DEFAULT 0,
    VAT_CODE    SMALLINT      NOT NULL DEFAULT 0,
    MES_TYPE    SMALLINT      NOT NULL DEFAULT 0,
    ART_TYPE    SMALLINT      NOT NULL DEFAULT 0,
    ONE_ITEM    SMALLINT      NOT NULL DEFAULT 0,
    DEPARTMENT  SMALLINT      NOT NULL DEFAULT 0,
    INVENTARY   NUMERIC(9,3)  NOT NULL DEFAULT 0,
    MAX_VALUE   NUMERIC(12,2) NOT NULL DEFAULT 0,
    TOTAL       NUMERIC(13,2) NOT NULL DEFAULT 0,
    QTY         NUMERIC(12,3) NOT NULL DEFAULT 0
);
CREATE INDEX QOV_PLU_RCV_SOLD_BAR_CODE ON QOV_PLU_RCV_SOLD (BAR_CODE);

-- Port is written unquoted by one save and quoted by another; both store the number.
CREATE TABLE PORT (
    Port    SMALLINT     NOT NULL DEFAULT 1,
    Qov     VARCHAR(10)  NOT NULL DEFAULT '9600',
    tone    VARCHAR(254) NOT NULL DEFAULT '',
    phonenm VARCHAR(254) NOT NULL DEFAULT ''
);
