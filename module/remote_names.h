#pragma once
// The names of the remote objects and operations the module calls: the application
// server's report-counter object and the host application with its services. Every call
// site takes its name from here.

namespace vel::remote {

// Application server.
inline constexpr const char* kReportCounterClass = "ReportCounterS.dmReportCounter";
inline constexpr const char* kSchemeProvider = "pvdConSave";
inline constexpr const char* kLookupProvider = "pvdF2Win";
inline constexpr const char* kRequest = "Request";
inline constexpr const char* kRequest1 = "Request1";
inline constexpr const char* kErrorDescript = "ErrorDescript";
inline constexpr const char* kUpdateStatus1 = "UpdateStatus1";
inline constexpr const char* kSQLType = "SQLType";
inline constexpr const char* kGetPower = "GetPower";
inline constexpr const char* kInsertConTable = "InsertConTable";
inline constexpr const char* kLoadTable = "LoadTable";
inline constexpr const char* kDeleteConTable = "DeleteConTable";
inline constexpr const char* kChangeConName = "ChangeConName";
inline constexpr const char* kGetCustomOW = "GetCustomOW";
inline constexpr const char* kGetF2Data = "GetF2Data";
inline constexpr const char* kOpenWinKind = "OpenWinKind";
// A program's own server-side object: program identifier + this suffix.
inline constexpr const char* kProgramServerSuffix = "S.Class1";
// A program's server-side viewer library: program identifier + this suffix.
inline constexpr const char* kViewerLibrarySuffix = "S.DLL";

// Host application object and its services.
inline constexpr const char* kStandAloneHostClass = "ZorvanWorkCenter.Manager";
inline constexpr const char* kComCounter = "Com_Counter";
inline constexpr const char* kComValidator = "Com_Validator";
inline constexpr const char* kComF2Window = "Com_F2Window";
inline constexpr const char* kGetMessage = "GetMessage";
inline constexpr const char* kCallHelp = "CallHelp";
inline constexpr const char* kGetFileList = "GetFileList";
inline constexpr const char* kGetSysInfo = "GetSysInfo";
inline constexpr const char* kGetCounter = "GetCounter";
inline constexpr const char* kQueryData = "QueryData";
inline constexpr const char* kCheckValue = "CheckValue";
inline constexpr const char* kF2GetData = "F2GetData";
inline constexpr const char* kGetPhrase = "GetPhrase";
inline constexpr const char* kShowInputDay = "ShowInputDay";

// Client-side objects created for report runs.
inline constexpr const char* kQueueManagerClass = "QueueManagerC.Class1";
inline constexpr const char* kOpenReport = "OpenReport";
inline constexpr const char* kBrowserClass = "InternetExplorer.Application";

}  // namespace vel::remote
