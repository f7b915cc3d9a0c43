#pragma once
// Today's date, behind an interface so tests can choose the day.

#include <QDate>

namespace leafsong {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDate day) : day_(day) {}
    QDate today() const override { return day_; }

private:
    QDate day_;
};

// True on the fifth of June of any year (the greeting date), by the local date.
bool IsBirthday(const Clock& clock);

}  // namespace leafsong
