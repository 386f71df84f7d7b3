#pragma once
// Reading a job's parameter set: [environment settings, option texts, option values], each a
// variant array counted from 1, as the condition forms pack it. Environment settings used
// here: 1 program, 4 company, 5 user, 6 company database, 9 report kind (lower case for a
// periodic job), 10 generation mode, 11 start date-time, 13 output flags.
//
// Date values are days since 30 Dec 1899 with the time of day as fraction, in the server's
// local time, as the clients send them.
#include <string>

#include "platform/variant/variant.h"

namespace velserver {

double NowDateValue();
double DateValueOf(int year, unsigned month, unsigned day, int secondsOfDay = 0);
// False for 0 or a value outside the calendar.
bool SplitDateValue(double value, int& year, unsigned& month, unsigned& day, int& secondsOfDay);
// "yyyy-mm-dd hh:mm:ss"; empty for 0.
std::string DateTimeText(double value);
// A valid "yyyymmdd" as a date value, else 0.
double YmdToDateValue(const std::string& ymd);

enum GenerationMode { kQueue = 0, kRealTime = 1, kAtTime = 2 };

// Output flag bits (environment setting 13).
constexpr int kOutputReport = 1;
constexpr int kOutputHtml = 2;

struct JobEnvironment {
    std::string program;    // upper case
    std::string company;    // data code page texts
    std::string user;
    std::string companyDb;
    std::string reportKind;
    bool periodic = false;
    int mode = kQueue;
    double runAt = 0;
    int outputFlags = kOutputReport;
};

// The element at index of a one-dimensional array, or nullptr when there is none.
const vel::Variant* Element(const vel::Variant& array, int index);

// Reads the environment settings; raises vel::Exception saying what is missing or wrong.
JobEnvironment ReadEnvironment(const vel::Variant& params);

// What the queue needs to know when a job arrives. Never raises: a set it cannot read
// waits in the queue, and its run records the fault.
struct JobSchedule {
    std::string user;
    std::string program;
    int mode = kQueue;
    double runAt = 0;
};
JobSchedule ScheduleOf(const std::string& encodedParams, double submitted);

}  // namespace velserver
