// OLE DB declarations of the platform stand-in: types, structures, constants, GUIDs and the
// interfaces the provider and its consumers use, with their published values and slot order.
#pragma once

#include "com_base.h"
#include "com_interfaces.h"
#include "oledberr.h"

// Integer types, with the widths of 64-bit Windows.
using DBLENGTH = ULONGLONG;
using DBROWOFFSET = LONGLONG;
using DBROWCOUNT = LONGLONG;
using DBCOUNTITEM = ULONGLONG;
using DBORDINAL = ULONGLONG;
using DB_LORDINAL = LONGLONG;
using DBBKMARK = ULONGLONG;
using DBBYTEOFFSET = ULONGLONG;
using DBREFCOUNT = ULONG;
using DB_UPARAMS = ULONGLONG;
using DB_LPARAMS = LONGLONG;
using DBHASHVALUE = ULONGLONG;
using DB_DWRESERVE = ULONGLONG;
using DB_LRESERVE = LONGLONG;
using DB_URESERVE = ULONGLONG;
using HACCESSOR = ULONG_PTR;
using HROW = ULONG_PTR;
using HCHAPTER = ULONG_PTR;
using HWATCHREGION = ULONG_PTR;
using DBTYPE = WORD;
using DBKIND = DWORD;
using DBPART = DWORD;
using DBMEMOWNER = DWORD;
using DBPARAMIO = DWORD;
using DBSTATUS = DWORD;
using DBACCESSORFLAGS = DWORD;
using DBBINDSTATUS = DWORD;
using DBCOLUMNFLAGS = DWORD;
using DBPROPID = DWORD;
using DBPROPOPTIONS = DWORD;
using DBPROPSTATUS = DWORD;
using DBPROPFLAGS = DWORD;
using DBROWSTATUS = DWORD;
using DBROWOPTIONS = DWORD;
using DBCONVERTFLAGS = DWORD;
using DBLITERAL = DWORD;
using SBYTE = signed char;

constexpr HACCESSOR DB_NULL_HACCESSOR = 0;
constexpr HROW DB_NULL_HROW = 0;
constexpr HCHAPTER DB_NULL_HCHAPTER = 0;

// Type indicators.
enum DBTYPEENUM : DBTYPE {
    DBTYPE_EMPTY = 0,
    DBTYPE_NULL = 1,
    DBTYPE_I2 = 2,
    DBTYPE_I4 = 3,
    DBTYPE_R4 = 4,
    DBTYPE_R8 = 5,
    DBTYPE_CY = 6,
    DBTYPE_DATE = 7,
    DBTYPE_BSTR = 8,
    DBTYPE_IDISPATCH = 9,
    DBTYPE_ERROR = 10,
    DBTYPE_BOOL = 11,
    DBTYPE_VARIANT = 12,
    DBTYPE_IUNKNOWN = 13,
    DBTYPE_DECIMAL = 14,
    DBTYPE_I1 = 16,
    DBTYPE_UI1 = 17,
    DBTYPE_UI2 = 18,
    DBTYPE_UI4 = 19,
    DBTYPE_I8 = 20,
    DBTYPE_UI8 = 21,
    DBTYPE_FILETIME = 64,
    DBTYPE_GUID = 72,
    DBTYPE_BYTES = 128,
    DBTYPE_STR = 129,
    DBTYPE_WSTR = 130,
    DBTYPE_NUMERIC = 131,
    DBTYPE_UDT = 132,
    DBTYPE_DBDATE = 133,
    DBTYPE_DBTIME = 134,
    DBTYPE_DBTIMESTAMP = 135,
    DBTYPE_HCHAPTER = 136,
    DBTYPE_PROPVARIANT = 138,
    DBTYPE_VARNUMERIC = 139,
    DBTYPE_VECTOR = 0x1000,
    DBTYPE_ARRAY = 0x2000,
    DBTYPE_BYREF = 0x4000,
    DBTYPE_RESERVED = 0x8000
};

// Status of a bound value.
enum DBSTATUSENUM : DBSTATUS {
    DBSTATUS_S_OK = 0,
    DBSTATUS_E_BADACCESSOR = 1,
    DBSTATUS_E_CANTCONVERTVALUE = 2,
    DBSTATUS_S_ISNULL = 3,
    DBSTATUS_S_TRUNCATED = 4,
    DBSTATUS_E_SIGNMISMATCH = 5,
    DBSTATUS_E_DATAOVERFLOW = 6,
    DBSTATUS_E_CANTCREATE = 7,
    DBSTATUS_E_UNAVAILABLE = 8,
    DBSTATUS_E_PERMISSIONDENIED = 9,
    DBSTATUS_E_INTEGRITYVIOLATION = 10,
    DBSTATUS_E_SCHEMAVIOLATION = 11,
    DBSTATUS_E_BADSTATUS = 12,
    DBSTATUS_S_DEFAULT = 13,
    DBSTATUS_S_IGNORE = 15,
    DBSTATUS_E_DOESNOTEXIST = 16,
    DBSTATUS_E_INVALIDURL = 17,
    DBSTATUS_E_RESOURCELOCKED = 18,
    DBSTATUS_E_RESOURCEEXISTS = 19,
    DBSTATUS_E_CANNOTCOMPLETE = 20,
    DBSTATUS_E_VOLUMENOTFOUND = 21,
    DBSTATUS_E_OUTOFSPACE = 22,
    DBSTATUS_S_CANNOTDELETESOURCE = 23,
    DBSTATUS_E_READONLY = 24,
    DBSTATUS_E_RESOURCEOUTOFSCOPE = 25,
    DBSTATUS_S_ALREADYEXISTS = 26,
    DBSTATUS_E_CANCELED = 27,
    DBSTATUS_E_NOTCOLLECTION = 28,
    DBSTATUS_S_ROWSETCOLUMN = 29
};

enum DBPARTENUM : DBPART {
    DBPART_INVALID = 0x0,
    DBPART_VALUE = 0x1,
    DBPART_LENGTH = 0x2,
    DBPART_STATUS = 0x4
};

enum DBACCESSORFLAGSENUM : DBACCESSORFLAGS {
    DBACCESSOR_INVALID = 0x0,
    DBACCESSOR_PASSBYREF = 0x1,
    DBACCESSOR_ROWDATA = 0x2,
    DBACCESSOR_PARAMETERDATA = 0x4,
    DBACCESSOR_OPTIMIZED = 0x8,
    DBACCESSOR_INHERITED = 0x10
};

enum DBBINDSTATUSENUM : DBBINDSTATUS {
    DBBINDSTATUS_OK = 0,
    DBBINDSTATUS_BADORDINAL = 1,
    DBBINDSTATUS_UNSUPPORTEDCONVERSION = 2,
    DBBINDSTATUS_BADBINDINFO = 3,
    DBBINDSTATUS_BADSTORAGEFLAGS = 4,
    DBBINDSTATUS_NOINTERFACE = 5,
    DBBINDSTATUS_MULTIPLESTORAGE = 6
};

enum DBMEMOWNERENUM : DBMEMOWNER { DBMEMOWNER_CLIENTOWNED = 0, DBMEMOWNER_PROVIDEROWNED = 1 };

enum DBPARAMIOENUM : DBPARAMIO {
    DBPARAMIO_NOTPARAM = 0,
    DBPARAMIO_INPUT = 0x1,
    DBPARAMIO_OUTPUT = 0x2
};

enum DBKINDENUM : DBKIND {
    DBKIND_GUID_NAME = 0,
    DBKIND_GUID_PROPID = 1,
    DBKIND_NAME = 2,
    DBKIND_PGUID_NAME = 3,
    DBKIND_PGUID_PROPID = 4,
    DBKIND_PROPID = 5,
    DBKIND_GUID = 6
};

enum DBROWSTATUSENUM : DBROWSTATUS {
    DBROWSTATUS_S_OK = 0,
    DBROWSTATUS_S_MULTIPLECHANGES = 2,
    DBROWSTATUS_S_PENDINGCHANGES = 3,
    DBROWSTATUS_E_CANCELED = 4,
    DBROWSTATUS_E_CANTRELEASE = 6,
    DBROWSTATUS_E_CONCURRENCYVIOLATION = 7,
    DBROWSTATUS_E_DELETED = 8,
    DBROWSTATUS_E_PENDINGINSERT = 9,
    DBROWSTATUS_E_NEWLYINSERTED = 10,
    DBROWSTATUS_E_INTEGRITYVIOLATION = 11,
    DBROWSTATUS_E_INVALID = 12,
    DBROWSTATUS_E_MAXPENDCHANGESEXCEEDED = 13,
    DBROWSTATUS_E_OBJECTOPEN = 14,
    DBROWSTATUS_E_OUTOFMEMORY = 15,
    DBROWSTATUS_E_PERMISSIONDENIED = 16,
    DBROWSTATUS_E_LIMITREACHED = 17,
    DBROWSTATUS_E_SCHEMAVIOLATION = 18,
    DBROWSTATUS_E_FAIL = 19,
    DBROWSTATUS_S_NOCHANGE = 20
};

enum DBCONVERTFLAGSENUM : DBCONVERTFLAGS {
    DBCONVERTFLAGS_COLUMN = 0x0,
    DBCONVERTFLAGS_PARAMETER = 0x1,
    DBCONVERTFLAGS_ISLONG = 0x2,
    DBCONVERTFLAGS_ISFIXEDLENGTH = 0x4,
    DBCONVERTFLAGS_FROMVARIANT = 0x8
};

enum DBCOLUMNFLAGSENUM : DBCOLUMNFLAGS {
    DBCOLUMNFLAGS_ISBOOKMARK = 0x1,
    DBCOLUMNFLAGS_MAYDEFER = 0x2,
    DBCOLUMNFLAGS_WRITE = 0x4,
    DBCOLUMNFLAGS_WRITEUNKNOWN = 0x8,
    DBCOLUMNFLAGS_ISFIXEDLENGTH = 0x10,
    DBCOLUMNFLAGS_ISNULLABLE = 0x20,
    DBCOLUMNFLAGS_MAYBENULL = 0x40,
    DBCOLUMNFLAGS_ISLONG = 0x80,
    DBCOLUMNFLAGS_ISROWID = 0x100,
    DBCOLUMNFLAGS_ISROWVER = 0x200,
    DBCOLUMNFLAGS_CACHEDEFERRED = 0x1000,
    DBCOLUMNFLAGS_ISCHAPTER = 0x2000,
    DBCOLUMNFLAGS_SCALEISNEGATIVE = 0x4000,
    DBCOLUMNFLAGS_RESERVED = 0x8000,
    DBCOLUMNFLAGS_ISROWURL = 0x10000,
    DBCOLUMNFLAGS_ISDEFAULTSTREAM = 0x20000,
    DBCOLUMNFLAGS_ISCOLLECTION = 0x40000,
    DBCOLUMNFLAGS_ISSTREAM = 0x80000,
    DBCOLUMNFLAGS_ISROWSET = 0x100000,
    DBCOLUMNFLAGS_ISROW = 0x200000,
    DBCOLUMNFLAGS_ROWSPECIFICCOLUMN = 0x400000
};

// Column, table and property identifiers.
struct DBID {
    union {
        GUID guid;
        GUID* pguid;
    } uGuid;
    DBKIND eKind;
    union {
        LPOLESTR pwszName;
        ULONG ulPropid;
    } uName;
};

// Dates and numbers.
struct DBDATE {
    SHORT year;
    USHORT month;
    USHORT day;
};

struct DBTIME {
    USHORT hour;
    USHORT minute;
    USHORT second;
};

struct DBTIMESTAMP {
    SHORT year;
    USHORT month;
    USHORT day;
    USHORT hour;
    USHORT minute;
    USHORT second;
    ULONG fraction;
};

constexpr int DB_NUMERIC_MAX_LEN = 16;
struct DB_NUMERIC {
    BYTE precision;
    BYTE scale;
    BYTE sign;
    BYTE val[16];
};

struct DB_VARNUMERIC {
    BYTE precision;
    SBYTE scale;
    BYTE sign;
    BYTE val[1];
};

// Bindings and accessors.
struct DBOBJECT {
    DWORD dwFlags;
    IID iid;
};

struct DBBINDEXT {
    BYTE* pExtension;
    DBCOUNTITEM ulExtension;
};

struct DBBINDING {
    DBORDINAL iOrdinal;
    DBBYTEOFFSET obValue;
    DBBYTEOFFSET obLength;
    DBBYTEOFFSET obStatus;
    ITypeInfo* pTypeInfo;
    DBOBJECT* pObject;
    DBBINDEXT* pBindExt;
    DBPART dwPart;
    DBMEMOWNER dwMemOwner;
    DBPARAMIO eParamIO;
    DBLENGTH cbMaxLen;
    DWORD dwFlags;
    DBTYPE wType;
    BYTE bPrecision;
    BYTE bScale;
};

constexpr DWORD DBBINDFLAG_HTML = 0x1;

struct DBCOLUMNINFO {
    LPOLESTR pwszName;
    ITypeInfo* pTypeInfo;
    DBORDINAL iOrdinal;
    DBCOLUMNFLAGS dwFlags;
    DBLENGTH ulColumnSize;
    DBTYPE wType;
    BYTE bPrecision;
    BYTE bScale;
    DBID columnid;
};

struct DBPARAMS {
    void* pData;
    DB_UPARAMS cParamSets;
    HACCESSOR hAccessor;
};

// Properties.
struct DBPROP {
    DBPROPID dwPropertyID;
    DBPROPOPTIONS dwOptions;
    DBPROPSTATUS dwStatus;
    DBID colid;
    VARIANT vValue;
};

struct DBPROPSET {
    DBPROP* rgProperties;
    ULONG cProperties;
    GUID guidPropertySet;
};

struct DBPROPIDSET {
    DBPROPID* rgPropertyIDs;
    ULONG cPropertyIDs;
    GUID guidPropertySet;
};

struct DBPROPINFO {
    LPOLESTR pwszDescription;
    DBPROPID dwPropertyID;
    DBPROPFLAGS dwFlags;
    VARTYPE vtType;
    VARIANT vValues;
};
using PDBPROPINFO = DBPROPINFO*;

struct DBPROPINFOSET {
    PDBPROPINFO rgPropertyInfos;
    ULONG cPropertyInfos;
    GUID guidPropertySet;
};

enum DBPROPOPTIONSENUM : DBPROPOPTIONS {
    DBPROPOPTIONS_REQUIRED = 0,
    DBPROPOPTIONS_SETIFCHEAP = 0x1,
    DBPROPOPTIONS_OPTIONAL = 0x1
};

enum DBPROPSTATUSENUM : DBPROPSTATUS {
    DBPROPSTATUS_OK = 0,
    DBPROPSTATUS_NOTSUPPORTED = 1,
    DBPROPSTATUS_BADVALUE = 2,
    DBPROPSTATUS_BADOPTION = 3,
    DBPROPSTATUS_BADCOLUMN = 4,
    DBPROPSTATUS_NOTALLSETTABLE = 5,
    DBPROPSTATUS_NOTSETTABLE = 6,
    DBPROPSTATUS_NOTSET = 7,
    DBPROPSTATUS_CONFLICTING = 8,
    DBPROPSTATUS_NOTAVAILABLE = 9
};

enum DBPROPFLAGSENUM : DBPROPFLAGS {
    DBPROPFLAGS_NOTSUPPORTED = 0,
    DBPROPFLAGS_COLUMN = 0x1,
    DBPROPFLAGS_DATASOURCE = 0x2,
    DBPROPFLAGS_DATASOURCECREATE = 0x4,
    DBPROPFLAGS_DATASOURCEINFO = 0x8,
    DBPROPFLAGS_DBINIT = 0x10,
    DBPROPFLAGS_INDEX = 0x20,
    DBPROPFLAGS_ROWSET = 0x40,
    DBPROPFLAGS_TABLE = 0x80,
    DBPROPFLAGS_COLUMNOK = 0x100,
    DBPROPFLAGS_READ = 0x200,
    DBPROPFLAGS_WRITE = 0x400,
    DBPROPFLAGS_REQUIRED = 0x800,
    DBPROPFLAGS_SESSION = 0x1000,
    DBPROPFLAGS_TRUSTEE = 0x2000,
    DBPROPFLAGS_VIEW = 0x4000,
    DBPROPFLAGS_STREAM = 0x8000
};

static_assert(sizeof(DBID) == 32, "DBID has its 64-bit published size");
static_assert(sizeof(DBBINDING) == 88, "DBBINDING has its 64-bit published size");
static_assert(sizeof(DBCOLUMNINFO) == 80, "DBCOLUMNINFO has its 64-bit published size");
static_assert(sizeof(DBPROP) == 72, "DBPROP has its 64-bit published size");
static_assert(sizeof(DBTIMESTAMP) == 16, "DBTIMESTAMP has its published size");

// Literal information (IDBInfo).
struct DBLITERALINFO {
    LPOLESTR pwszLiteralValue;
    LPOLESTR pwszInvalidChars;
    LPOLESTR pwszInvalidStartingChars;
    DBLITERAL lt;
    BOOL fSupported;
    ULONG cchMaxLen;
};

// Error records.
struct ERRORINFO {
    HRESULT hrError;
    DWORD dwMinor;
    CLSID clsid;
    IID iid;
    DISPID dispid;
};

// Property sets.
#define ZELMO_DBGUID(name, l) \
    COMRT_GUID(name, l, 0x5cf3, 0x11ce, 0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d)
ZELMO_DBGUID(DBPROPSET_COLUMN, 0xc8b522b9);
ZELMO_DBGUID(DBPROPSET_DATASOURCE, 0xc8b522ba);
ZELMO_DBGUID(DBPROPSET_DATASOURCEINFO, 0xc8b522bb);
ZELMO_DBGUID(DBPROPSET_DBINIT, 0xc8b522bc);
ZELMO_DBGUID(DBPROPSET_INDEX, 0xc8b522bd);
ZELMO_DBGUID(DBPROPSET_ROWSET, 0xc8b522be);
ZELMO_DBGUID(DBPROPSET_TABLE, 0xc8b522bf);
ZELMO_DBGUID(DBPROPSET_DATASOURCEALL, 0xc8b522c0);
ZELMO_DBGUID(DBPROPSET_DATASOURCEINFOALL, 0xc8b522c1);
ZELMO_DBGUID(DBPROPSET_ROWSETALL, 0xc8b522c2);
ZELMO_DBGUID(DBPROPSET_SESSION, 0xc8b522c6);
ZELMO_DBGUID(DBPROPSET_SESSIONALL, 0xc8b522c7);
ZELMO_DBGUID(DBPROPSET_DBINITALL, 0xc8b522ca);
ZELMO_DBGUID(DBPROPSET_PROPERTIESINERROR, 0xc8b522d4);

// Command dialects.
ZELMO_DBGUID(DBGUID_DEFAULT, 0xc8b521fb);
ZELMO_DBGUID(DBGUID_DBSQL, 0xc8b521fb);
ZELMO_DBGUID(DBGUID_SQL, 0xc8b522d7);

// Schema rowsets.
ZELMO_DBGUID(DBSCHEMA_ASSERTIONS, 0xc8b52210);
ZELMO_DBGUID(DBSCHEMA_CATALOGS, 0xc8b52211);
ZELMO_DBGUID(DBSCHEMA_CHARACTER_SETS, 0xc8b52212);
ZELMO_DBGUID(DBSCHEMA_COLLATIONS, 0xc8b52213);
ZELMO_DBGUID(DBSCHEMA_COLUMNS, 0xc8b52214);
ZELMO_DBGUID(DBSCHEMA_CHECK_CONSTRAINTS, 0xc8b52215);
ZELMO_DBGUID(DBSCHEMA_CONSTRAINT_COLUMN_USAGE, 0xc8b52216);
ZELMO_DBGUID(DBSCHEMA_CONSTRAINT_TABLE_USAGE, 0xc8b52217);
ZELMO_DBGUID(DBSCHEMA_KEY_COLUMN_USAGE, 0xc8b52218);
ZELMO_DBGUID(DBSCHEMA_REFERENTIAL_CONSTRAINTS, 0xc8b52219);
ZELMO_DBGUID(DBSCHEMA_TABLE_CONSTRAINTS, 0xc8b5221a);
ZELMO_DBGUID(DBSCHEMA_COLUMN_DOMAIN_USAGE, 0xc8b5221b);
ZELMO_DBGUID(DBSCHEMA_INDEXES, 0xc8b5221e);
ZELMO_DBGUID(DBSCHEMA_COLUMN_PRIVILEGES, 0xc8b52221);
ZELMO_DBGUID(DBSCHEMA_TABLE_PRIVILEGES, 0xc8b52222);
ZELMO_DBGUID(DBSCHEMA_USAGE_PRIVILEGES, 0xc8b52223);
ZELMO_DBGUID(DBSCHEMA_PROCEDURES, 0xc8b52224);
ZELMO_DBGUID(DBSCHEMA_SCHEMATA, 0xc8b52225);
ZELMO_DBGUID(DBSCHEMA_SQL_LANGUAGES, 0xc8b52226);
ZELMO_DBGUID(DBSCHEMA_STATISTICS, 0xc8b52227);
ZELMO_DBGUID(DBSCHEMA_TABLES, 0xc8b52229);
ZELMO_DBGUID(DBSCHEMA_TRANSLATIONS, 0xc8b5222a);
ZELMO_DBGUID(DBSCHEMA_PROVIDER_TYPES, 0xc8b5222c);
ZELMO_DBGUID(DBSCHEMA_VIEWS, 0xc8b5222d);
ZELMO_DBGUID(DBSCHEMA_VIEW_COLUMN_USAGE, 0xc8b5222e);
ZELMO_DBGUID(DBSCHEMA_VIEW_TABLE_USAGE, 0xc8b5222f);
ZELMO_DBGUID(DBSCHEMA_PROCEDURE_PARAMETERS, 0xc8b522b8);
ZELMO_DBGUID(DBSCHEMA_FOREIGN_KEYS, 0xc8b522c4);
ZELMO_DBGUID(DBSCHEMA_PRIMARY_KEYS, 0xc8b522c5);
ZELMO_DBGUID(DBSCHEMA_PROCEDURE_COLUMNS, 0xc8b522c9);

// The data-link service that asks a data source for its own property pages.
COMRT_GUID(OLEDB_SVC_DSLPropertyPages, 0x51740c02, 0x7e8e, 0x11d2, 0xa0, 0x2d, 0x00, 0xc0, 0x4f,
           0xa3, 0x73, 0x48);

// The ordinal MapColumnIDs answers for a column id it does not know.
constexpr DBORDINAL DB_INVALIDCOLUMN = ~DBORDINAL{0};

inline constexpr const GUID& DB_NULLGUID = GUID_NULL;
inline constexpr DBID DB_NULLID = {
    {{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}}}, DBKIND_GUID_PROPID, {nullptr}};

// Property ids.
constexpr DBPROPID DBPROP_ABORTPRESERVE = 0x02;
constexpr DBPROPID DBPROP_ACTIVESESSIONS = 0x03;
constexpr DBPROPID DBPROP_ASYNCTXNCOMMIT = 0x04;
constexpr DBPROPID DBPROP_AUTH_CACHE_AUTHINFO = 0x05;
constexpr DBPROPID DBPROP_AUTH_ENCRYPT_PASSWORD = 0x06;
constexpr DBPROPID DBPROP_AUTH_INTEGRATED = 0x07;
constexpr DBPROPID DBPROP_AUTH_MASK_PASSWORD = 0x08;
constexpr DBPROPID DBPROP_AUTH_PASSWORD = 0x09;
constexpr DBPROPID DBPROP_AUTH_PERSIST_ENCRYPTED = 0x0a;
constexpr DBPROPID DBPROP_AUTH_PERSIST_SENSITIVE_AUTHINFO = 0x0b;
constexpr DBPROPID DBPROP_AUTH_USERID = 0x0c;
constexpr DBPROPID DBPROP_BLOCKINGSTORAGEOBJECTS = 0x0d;
constexpr DBPROPID DBPROP_BOOKMARKS = 0x0e;
constexpr DBPROPID DBPROP_BOOKMARKSKIPPED = 0x0f;
constexpr DBPROPID DBPROP_BOOKMARKTYPE = 0x10;
constexpr DBPROPID DBPROP_CACHEDEFERRED = 0x11;
constexpr DBPROPID DBPROP_CANFETCHBACKWARDS = 0x12;
constexpr DBPROPID DBPROP_CANHOLDROWS = 0x13;
constexpr DBPROPID DBPROP_CANSCROLLBACKWARDS = 0x15;
constexpr DBPROPID DBPROP_CATALOGLOCATION = 0x16;
constexpr DBPROPID DBPROP_CATALOGTERM = 0x17;
constexpr DBPROPID DBPROP_CATALOGUSAGE = 0x18;
constexpr DBPROPID DBPROP_COMMANDTIMEOUT = 0x22;
constexpr DBPROPID DBPROP_COMMITPRESERVE = 0x23;
constexpr DBPROPID DBPROP_CONCATNULLBEHAVIOR = 0x24;
constexpr DBPROPID DBPROP_CURRENTCATALOG = 0x25;
constexpr DBPROPID DBPROP_DATASOURCENAME = 0x26;
constexpr DBPROPID DBPROP_DATASOURCEREADONLY = 0x27;
constexpr DBPROPID DBPROP_DBMSNAME = 0x28;
constexpr DBPROPID DBPROP_DBMSVER = 0x29;
constexpr DBPROPID DBPROP_DEFERRED = 0x2a;
constexpr DBPROPID DBPROP_DELAYSTORAGEOBJECTS = 0x2b;
constexpr DBPROPID DBPROP_GROUPBY = 0x2c;
constexpr DBPROPID DBPROP_HETEROGENEOUSTABLES = 0x2d;
constexpr DBPROPID DBPROP_IDENTIFIERCASE = 0x2e;
constexpr DBPROPID DBPROP_IMMOBILEROWS = 0x2f;
constexpr DBPROPID DBPROP_INIT_DATASOURCE = 0x3b;
constexpr DBPROPID DBPROP_INIT_HWND = 0x3c;
constexpr DBPROPID DBPROP_INIT_IMPERSONATION_LEVEL = 0x3d;
constexpr DBPROPID DBPROP_INIT_LOCATION = 0x3e;
constexpr DBPROPID DBPROP_INIT_MODE = 0x3f;
constexpr DBPROPID DBPROP_INIT_PROMPT = 0x40;
constexpr DBPROPID DBPROP_INIT_PROTECTION_LEVEL = 0x41;
constexpr DBPROPID DBPROP_INIT_TIMEOUT = 0x42;
constexpr DBPROPID DBPROP_LITERALBOOKMARKS = 0x43;
constexpr DBPROPID DBPROP_LITERALIDENTITY = 0x44;
constexpr DBPROPID DBPROP_MAXOPENROWS = 0x47;
constexpr DBPROPID DBPROP_MAXPENDINGROWS = 0x48;
constexpr DBPROPID DBPROP_MAXROWS = 0x49;
constexpr DBPROPID DBPROP_MAYWRITECOLUMN = 0x4d;
constexpr DBPROPID DBPROP_MEMORYUSAGE = 0x4e;
constexpr DBPROPID DBPROP_MULTIPLESTORAGEOBJECTS = 0x50;
constexpr DBPROPID DBPROP_NOTIFICATIONPHASES = 0x52;
constexpr DBPROPID DBPROP_NULLCOLLATION = 0x53;
constexpr DBPROPID DBPROP_ORDEREDBOOKMARKS = 0x56;
constexpr DBPROPID DBPROP_OTHERINSERT = 0x57;
constexpr DBPROPID DBPROP_OTHERUPDATEDELETE = 0x58;
constexpr DBPROPID DBPROP_OWNINSERT = 0x59;
constexpr DBPROPID DBPROP_OWNUPDATEDELETE = 0x5a;
constexpr DBPROPID DBPROP_PROVIDERFILENAME = 0x60;
constexpr DBPROPID DBPROP_PROVIDERNAME = 0x60;
constexpr DBPROPID DBPROP_PROVIDEROLEDBVER = 0x61;
constexpr DBPROPID DBPROP_PROVIDERVER = 0x62;
constexpr DBPROPID DBPROP_QUICKRESTART = 0x63;
constexpr DBPROPID DBPROP_QUOTEDIDENTIFIERCASE = 0x64;
constexpr DBPROPID DBPROP_REENTRANTEVENTS = 0x65;
constexpr DBPROPID DBPROP_REMOVEDELETED = 0x66;
constexpr DBPROPID DBPROP_REPORTMULTIPLECHANGES = 0x67;
constexpr DBPROPID DBPROP_ROWRESTRICT = 0x68;
constexpr DBPROPID DBPROP_ROWTHREADMODEL = 0x69;
constexpr DBPROPID DBPROP_SCHEMATERM = 0x6a;
constexpr DBPROPID DBPROP_SCHEMAUSAGE = 0x6b;
constexpr DBPROPID DBPROP_SERVERCURSOR = 0x6c;
constexpr DBPROPID DBPROP_SQLSUPPORT = 0x6d;
constexpr DBPROPID DBPROP_STRUCTUREDSTORAGE = 0x6f;
constexpr DBPROPID DBPROP_SUBQUERIES = 0x70;
constexpr DBPROPID DBPROP_SUPPORTEDTXNISOLEVELS = 0x71;
constexpr DBPROPID DBPROP_SUPPORTEDTXNISORETAIN = 0x72;
constexpr DBPROPID DBPROP_TABLETERM = 0x73;
constexpr DBPROPID DBPROP_TRANSACTEDOBJECT = 0x74;
constexpr DBPROPID DBPROP_UPDATABILITY = 0x75;
constexpr DBPROPID DBPROP_USERNAME = 0x76;
constexpr DBPROPID DBPROP_STRONGIDENTITY = 0x77;
constexpr DBPROPID DBPROP_BYREFACCESSORS = 0x78;
constexpr DBPROPID DBPROP_IAccessor = 0x79;
constexpr DBPROPID DBPROP_IColumnsInfo = 0x7a;
constexpr DBPROPID DBPROP_IColumnsRowset = 0x7b;
constexpr DBPROPID DBPROP_IConnectionPointContainer = 0x7c;
constexpr DBPROPID DBPROP_IRowset = 0x7e;
constexpr DBPROPID DBPROP_IRowsetChange = 0x7f;
constexpr DBPROPID DBPROP_IRowsetIdentity = 0x80;
constexpr DBPROPID DBPROP_IRowsetInfo = 0x81;
constexpr DBPROPID DBPROP_IRowsetLocate = 0x82;
constexpr DBPROPID DBPROP_IRowsetResynch = 0x84;
constexpr DBPROPID DBPROP_IRowsetScroll = 0x85;
constexpr DBPROPID DBPROP_IRowsetUpdate = 0x86;
constexpr DBPROPID DBPROP_ISupportErrorInfo = 0x87;
constexpr DBPROPID DBPROP_ILockBytes = 0x88;
constexpr DBPROPID DBPROP_ISequentialStream = 0x89;
constexpr DBPROPID DBPROP_IStorage = 0x8a;
constexpr DBPROPID DBPROP_IStream = 0x8b;
constexpr DBPROPID DBPROP_IRowsetIndex = 0x9f;
constexpr DBPROPID DBPROP_INIT_PROVIDERSTRING = 0xa0;
constexpr DBPROPID DBPROP_SUPPORTEDTXNDDL = 0xa1;
constexpr DBPROPID DBPROP_ASYNCTXNABORT = 0xa8;
constexpr DBPROPID DBPROP_DSOTHREADMODEL = 0xa9;
constexpr DBPROPID DBPROP_OUTPUTPARAMETERAVAILABILITY = 0xb8;
constexpr DBPROPID DBPROP_PERSISTENTIDTYPE = 0xb9;
constexpr DBPROPID DBPROP_INIT_LCID = 0xba;
constexpr DBPROPID DBPROP_APPENDONLY = 0xbb;
constexpr DBPROPID DBPROP_CHANGEINSERTEDROWS = 0xbc;
constexpr DBPROPID DBPROP_RETURNPENDINGINSERTS = 0xbd;
constexpr DBPROPID DBPROP_SESS_AUTOCOMMITISOLEVELS = 0xbe;
constexpr DBPROPID DBPROP_MULTIPLEPARAMSETS = 0xbf;
constexpr DBPROPID DBPROP_ROWSETCONVERSIONSONCOMMAND = 0xc0;
constexpr DBPROPID DBPROP_IConvertType = 0xc2;
constexpr DBPROPID DBPROP_MULTIPLERESULTS = 0xc4;
constexpr DBPROPID DBPROP_INIT_ASYNCH = 0xc8;
constexpr DBPROPID DBPROP_ROWSET_ASYNCH = 0xc9;
constexpr DBPROPID DBPROP_INIT_CATALOG = 0xe9;
constexpr DBPROPID DBPROP_PROVIDERFRIENDLYNAME = 0xeb;
constexpr DBPROPID DBPROP_INIT_OLEDBSERVICES = 0xf8;
constexpr DBPROPID DBPROP_DATASOURCE_TYPE = 0xfb;
constexpr DBPROPID DBPROP_INIT_BINDFLAGS = 0x10e;
constexpr DBPROPID DBPROP_INIT_LOCKOWNER = 0x10f;
constexpr DBPROPID DBPROP_INIT_GENERALTIMEOUT = 0x11c;

// Property values.
constexpr LONG DBPROPVAL_DST_TDP = 0x1;
constexpr LONG DBPROPVAL_DST_MDP = 0x2;
constexpr LONG DBPROPVAL_DST_TDPANDMDP = 0x3;
constexpr LONG DBPROPVAL_RT_FREETHREAD = 0x1;
constexpr LONG DBPROPVAL_RT_APTMTTHREAD = 0x2;
constexpr LONG DBPROPVAL_RT_SINGLETHREAD = 0x4;
constexpr LONG DBPROPVAL_OA_NOTSUPPORTED = 0x1;
constexpr LONG DBPROPVAL_OA_ATEXECUTE = 0x2;
constexpr LONG DBPROPVAL_OA_ATROWRELEASE = 0x4;
constexpr LONG DBPROPVAL_BMK_NUMERIC = 0x1;
constexpr LONG DBPROPVAL_BMK_KEY = 0x2;
constexpr LONG DBPROPVAL_ASYNCH_INITIALIZE = 0x1;
constexpr LONG DBPROPVAL_ASYNCH_SEQUENTIALPOPULATION = 0x2;
constexpr LONG DBPROPVAL_ASYNCH_RANDOMPOPULATION = 0x4;
constexpr LONG DBPROPVAL_TI_CHAOS = 0x10;
constexpr LONG DBPROPVAL_TI_READUNCOMMITTED = 0x100;
constexpr LONG DBPROPVAL_TI_BROWSE = 0x100;
constexpr LONG DBPROPVAL_TI_CURSORSTABILITY = 0x1000;
constexpr LONG DBPROPVAL_TI_READCOMMITTED = 0x1000;
constexpr LONG DBPROPVAL_TI_REPEATABLEREAD = 0x10000;
constexpr LONG DBPROPVAL_TI_SERIALIZABLE = 0x100000;
constexpr LONG DBPROPVAL_TI_ISOLATED = 0x100000;
constexpr LONG DBPROPVAL_UP_CHANGE = 0x1;
constexpr LONG DBPROPVAL_UP_DELETE = 0x2;
constexpr LONG DBPROPVAL_UP_INSERT = 0x4;
constexpr LONG DBPROPVAL_OS_RESOURCEPOOLING = 0x1;
constexpr LONG DBPROPVAL_OS_TXNENLISTMENT = 0x2;
constexpr LONG DBPROPVAL_OS_CLIENTCURSOR = 0x4;
constexpr LONG DBPROPVAL_OS_AGR_AFTERSESSION = 0x8;
constexpr LONG DBPROPVAL_OS_ENABLEALL = static_cast<LONG>(0xffffffff);
constexpr LONG DBPROPVAL_OS_DISABLEALL = 0x0;

// Initialisation property values.
constexpr SHORT DBPROMPT_PROMPT = 0x1;
constexpr SHORT DBPROMPT_COMPLETE = 0x2;
constexpr SHORT DBPROMPT_COMPLETEREQUIRED = 0x3;
constexpr SHORT DBPROMPT_NOPROMPT = 0x4;
constexpr LONG DB_MODE_READ = 0x1;
constexpr LONG DB_MODE_WRITE = 0x2;
constexpr LONG DB_MODE_READWRITE = 0x3;
constexpr LONG DB_MODE_SHARE_DENY_READ = 0x4;
constexpr LONG DB_MODE_SHARE_DENY_WRITE = 0x8;
constexpr LONG DB_MODE_SHARE_EXCLUSIVE = 0xc;
constexpr LONG DB_MODE_SHARE_DENY_NONE = 0x10;

// DBID helpers of our own: equality by kind, with names compared as text.
inline bool DBIDGuidEqual(const DBID& a, const DBID& b) {
    switch (a.eKind) {
        case DBKIND_GUID_NAME:
        case DBKIND_GUID_PROPID:
        case DBKIND_GUID:
            return a.uGuid.guid == b.uGuid.guid;
        case DBKIND_PGUID_NAME:
        case DBKIND_PGUID_PROPID:
            return a.uGuid.pguid != nullptr && b.uGuid.pguid != nullptr &&
                   *a.uGuid.pguid == *b.uGuid.pguid;
        default:
            return true;
    }
}

inline bool DBIDNameEqual(LPCOLESTR a, LPCOLESTR b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

inline bool CompareDBIDs(const DBID& a, const DBID& b) {
    if (a.eKind != b.eKind || !DBIDGuidEqual(a, b)) {
        return false;
    }
    switch (a.eKind) {
        case DBKIND_GUID_NAME:
        case DBKIND_NAME:
        case DBKIND_PGUID_NAME:
            return DBIDNameEqual(a.uName.pwszName, b.uName.pwszName);
        case DBKIND_GUID_PROPID:
        case DBKIND_PGUID_PROPID:
        case DBKIND_PROPID:
            return a.uName.ulPropid == b.uName.ulPropid;
        case DBKIND_GUID:
            return true;
        default:
            return false;
    }
}

// Interfaces.
#define ZELMO_OLEDB_IID(name, l) \
    COMRT_GUID(name, l, 0x2a1c, 0x11ce, 0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d)

ZELMO_OLEDB_IID(IID_IDBInitialize, 0x0c733a8b);
struct IDBInitialize : IUnknown {
    STDMETHOD(Initialize)() = 0;
    STDMETHOD(Uninitialize)() = 0;
};
COMRT_DECLARE_IID(IDBInitialize, IID_IDBInitialize);

ZELMO_OLEDB_IID(IID_IDBProperties, 0x0c733a8a);
struct IDBProperties : IUnknown {
    STDMETHOD(GetProperties)
    (ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertySets,
     DBPROPSET** prgPropertySets) = 0;
    STDMETHOD(GetPropertyInfo)
    (ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertyInfoSets,
     DBPROPINFOSET** prgPropertyInfoSets, OLECHAR** ppDescBuffer) = 0;
    STDMETHOD(SetProperties)(ULONG cPropertySets, DBPROPSET rgPropertySets[]) = 0;
};
COMRT_DECLARE_IID(IDBProperties, IID_IDBProperties);

ZELMO_OLEDB_IID(IID_IDBCreateSession, 0x0c733a5d);
struct IDBCreateSession : IUnknown {
    STDMETHOD(CreateSession)(IUnknown* pUnkOuter, REFIID riid, IUnknown** ppDBSession) = 0;
};
COMRT_DECLARE_IID(IDBCreateSession, IID_IDBCreateSession);

ZELMO_OLEDB_IID(IID_IDBInfo, 0x0c733a89);
struct IDBInfo : IUnknown {
    STDMETHOD(GetKeywords)(LPOLESTR* ppwszKeywords) = 0;
    STDMETHOD(GetLiteralInfo)
    (ULONG cLiterals, const DBLITERAL rgLiterals[], ULONG* pcLiteralInfo,
     DBLITERALINFO** prgLiteralInfo, OLECHAR** ppCharBuffer) = 0;
};
COMRT_DECLARE_IID(IDBInfo, IID_IDBInfo);

ZELMO_OLEDB_IID(IID_IGetDataSource, 0x0c733a75);
struct IGetDataSource : IUnknown {
    STDMETHOD(GetDataSource)(REFIID riid, IUnknown** ppDataSource) = 0;
};
COMRT_DECLARE_IID(IGetDataSource, IID_IGetDataSource);

ZELMO_OLEDB_IID(IID_IOpenRowset, 0x0c733a69);
struct IOpenRowset : IUnknown {
    STDMETHOD(OpenRowset)
    (IUnknown* pUnkOuter, DBID* pTableID, DBID* pIndexID, REFIID riid, ULONG cPropertySets,
     DBPROPSET rgPropertySets[], IUnknown** ppRowset) = 0;
};
COMRT_DECLARE_IID(IOpenRowset, IID_IOpenRowset);

ZELMO_OLEDB_IID(IID_ISessionProperties, 0x0c733a85);
struct ISessionProperties : IUnknown {
    STDMETHOD(GetProperties)
    (ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertySets,
     DBPROPSET** prgPropertySets) = 0;
    STDMETHOD(SetProperties)(ULONG cPropertySets, DBPROPSET rgPropertySets[]) = 0;
};
COMRT_DECLARE_IID(ISessionProperties, IID_ISessionProperties);

ZELMO_OLEDB_IID(IID_IDBSchemaRowset, 0x0c733a7b);
struct IDBSchemaRowset : IUnknown {
    STDMETHOD(GetRowset)
    (IUnknown* pUnkOuter, REFGUID rguidSchema, ULONG cRestrictions, const VARIANT rgRestrictions[],
     REFIID riid, ULONG cPropertySets, DBPROPSET rgPropertySets[], IUnknown** ppRowset) = 0;
    STDMETHOD(GetSchemas)(ULONG* pcSchemas, GUID** prgSchemas, ULONG** prgRestrictionSupport) = 0;
};
COMRT_DECLARE_IID(IDBSchemaRowset, IID_IDBSchemaRowset);

ZELMO_OLEDB_IID(IID_IDBCreateCommand, 0x0c733a1d);
struct IDBCreateCommand : IUnknown {
    STDMETHOD(CreateCommand)(IUnknown* pUnkOuter, REFIID riid, IUnknown** ppCommand) = 0;
};
COMRT_DECLARE_IID(IDBCreateCommand, IID_IDBCreateCommand);

ZELMO_OLEDB_IID(IID_ICommand, 0x0c733a63);
struct ICommand : IUnknown {
    STDMETHOD(Cancel)() = 0;
    STDMETHOD(Execute)
    (IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
     IUnknown** ppRowset) = 0;
    STDMETHOD(GetDBSession)(REFIID riid, IUnknown** ppSession) = 0;
};
COMRT_DECLARE_IID(ICommand, IID_ICommand);

ZELMO_OLEDB_IID(IID_ICommandText, 0x0c733a27);
struct ICommandText : ICommand {
    STDMETHOD(GetCommandText)(GUID* pguidDialect, LPOLESTR* ppwszCommand) = 0;
    STDMETHOD(SetCommandText)(REFGUID rguidDialect, LPCOLESTR pwszCommand) = 0;
};
COMRT_DECLARE_IID(ICommandText, IID_ICommandText);

ZELMO_OLEDB_IID(IID_ICommandProperties, 0x0c733a79);
struct ICommandProperties : IUnknown {
    STDMETHOD(GetProperties)
    (const ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertySets,
     DBPROPSET** prgPropertySets) = 0;
    STDMETHOD(SetProperties)(ULONG cPropertySets, DBPROPSET rgPropertySets[]) = 0;
};
COMRT_DECLARE_IID(ICommandProperties, IID_ICommandProperties);

ZELMO_OLEDB_IID(IID_IAccessor, 0x0c733a8c);
struct IAccessor : IUnknown {
    STDMETHOD(AddRefAccessor)(HACCESSOR hAccessor, DBREFCOUNT* pcRefCount) = 0;
    STDMETHOD(CreateAccessor)
    (DBACCESSORFLAGS dwAccessorFlags, DBCOUNTITEM cBindings, const DBBINDING rgBindings[],
     DBLENGTH cbRowSize, HACCESSOR* phAccessor, DBBINDSTATUS rgStatus[]) = 0;
    STDMETHOD(GetBindings)
    (HACCESSOR hAccessor, DBACCESSORFLAGS* pdwAccessorFlags, DBCOUNTITEM* pcBindings,
     DBBINDING** prgBindings) = 0;
    STDMETHOD(ReleaseAccessor)(HACCESSOR hAccessor, DBREFCOUNT* pcRefCount) = 0;
};
COMRT_DECLARE_IID(IAccessor, IID_IAccessor);

ZELMO_OLEDB_IID(IID_IColumnsInfo, 0x0c733a11);
struct IColumnsInfo : IUnknown {
    STDMETHOD(GetColumnInfo)
    (DBORDINAL* pcColumns, DBCOLUMNINFO** prgInfo, OLECHAR** ppStringsBuffer) = 0;
    STDMETHOD(MapColumnIDs)
    (DBORDINAL cColumnIDs, const DBID rgColumnIDs[], DBORDINAL rgColumns[]) = 0;
};
COMRT_DECLARE_IID(IColumnsInfo, IID_IColumnsInfo);

ZELMO_OLEDB_IID(IID_IConvertType, 0x0c733a88);
struct IConvertType : IUnknown {
    STDMETHOD(CanConvert)(DBTYPE wFromType, DBTYPE wToType, DBCONVERTFLAGS dwConvertFlags) = 0;
};
COMRT_DECLARE_IID(IConvertType, IID_IConvertType);

ZELMO_OLEDB_IID(IID_IRowset, 0x0c733a7c);
struct IRowset : IUnknown {
    STDMETHOD(AddRefRows)
    (DBCOUNTITEM cRows, const HROW rghRows[], DBREFCOUNT rgRefCounts[],
     DBROWSTATUS rgRowStatus[]) = 0;
    STDMETHOD(GetData)(HROW hRow, HACCESSOR hAccessor, void* pData) = 0;
    STDMETHOD(GetNextRows)
    (HCHAPTER hReserved, DBROWOFFSET lRowsOffset, DBROWCOUNT cRows, DBCOUNTITEM* pcRowsObtained,
     HROW** prghRows) = 0;
    STDMETHOD(ReleaseRows)
    (DBCOUNTITEM cRows, const HROW rghRows[], DBROWOPTIONS rgRowOptions[], DBREFCOUNT rgRefCounts[],
     DBROWSTATUS rgRowStatus[]) = 0;
    STDMETHOD(RestartPosition)(HCHAPTER hReserved) = 0;
};
COMRT_DECLARE_IID(IRowset, IID_IRowset);

ZELMO_OLEDB_IID(IID_IRowsetInfo, 0x0c733a55);
struct IRowsetInfo : IUnknown {
    STDMETHOD(GetProperties)
    (const ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertySets,
     DBPROPSET** prgPropertySets) = 0;
    STDMETHOD(GetReferencedRowset)
    (DBORDINAL iOrdinal, REFIID riid, IUnknown** ppReferencedRowset) = 0;
    STDMETHOD(GetSpecification)(REFIID riid, IUnknown** ppSpecification) = 0;
};
COMRT_DECLARE_IID(IRowsetInfo, IID_IRowsetInfo);

ZELMO_OLEDB_IID(IID_IRowsetIdentity, 0x0c733a09);
struct IRowsetIdentity : IUnknown {
    STDMETHOD(IsSameRow)(HROW hThisRow, HROW hThatRow) = 0;
};
COMRT_DECLARE_IID(IRowsetIdentity, IID_IRowsetIdentity);

ZELMO_OLEDB_IID(IID_IErrorRecords, 0x0c733a67);
struct IErrorRecords : IUnknown {
    STDMETHOD(AddErrorRecord)
    (ERRORINFO* pErrorInfo, DWORD dwLookupID, DISPPARAMS* pdispparams, IUnknown* punkCustomError,
     DWORD dwDynamicErrorID) = 0;
    STDMETHOD(GetBasicErrorInfo)(ULONG ulRecordNum, ERRORINFO* pErrorInfo) = 0;
    STDMETHOD(GetCustomErrorObject)(ULONG ulRecordNum, REFIID riid, IUnknown** ppObject) = 0;
    STDMETHOD(GetErrorInfo)(ULONG ulRecordNum, LCID lcid, IErrorInfo** ppErrorInfo) = 0;
    STDMETHOD(GetErrorParameters)(ULONG ulRecordNum, DISPPARAMS* pdispparams) = 0;
    STDMETHOD(GetRecordCount)(ULONG* pcRecords) = 0;
};
COMRT_DECLARE_IID(IErrorRecords, IID_IErrorRecords);

// The templates' private link between a child object and its parent: a session or command
// tells its data source or session that it holds a connection. No interface id is published
// for it, so the value here is our own fixed choice.
COMRT_GUID(IID_IInternalConnection, 0x5d0d1f0e, 0x6b2a, 0x4c53, 0x9a, 0x41, 0x3e, 0x27, 0x8c, 0x10,
           0x5b, 0x6d);
struct IInternalConnection : IUnknown {
    STDMETHOD(AddConnection)() = 0;
    STDMETHOD(ReleaseConnection)() = 0;
};
COMRT_DECLARE_IID(IInternalConnection, IID_IInternalConnection);

#undef ZELMO_OLEDB_IID
#undef ZELMO_DBGUID
