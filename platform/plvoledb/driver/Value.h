#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace plv::db {

// The storage classes every backend round-trips: NULL, integer, real, text.
using Value = std::variant<std::monostate, int64_t, double, std::string>;

inline bool IsNull(const Value& value) { return std::holds_alternative<std::monostate>(value); }

enum class DbErrorKind {
    Other,
    Busy,          // database or row locked by another connection; retrying later may succeed
    NotFound,      // the database file does not exist
    NotADatabase,  // the file exists but is not a database of this backend
};

// what() is the driver's own message followed by what it was about: the statement or the file.
class DbError : public std::runtime_error {
public:
    explicit DbError(std::string driverMessage, int code = 0, DbErrorKind kind = DbErrorKind::Other,
                     std::string_view context = {}, std::string sqlState = {})
        : std::runtime_error(context.empty() ? driverMessage
                                             : driverMessage + " [in: " + std::string(context) + "]"),
          driverMessage_(std::move(driverMessage)), code_(code), kind_(kind), sqlState_(std::move(sqlState)) {}

    const std::string& DriverMessage() const noexcept { return driverMessage_; }
    int Code() const noexcept { return code_; }  // the backend's (extended) result code, 0 if none
    DbErrorKind Kind() const noexcept { return kind_; }
    bool IsBusy() const noexcept { return kind_ == DbErrorKind::Busy; }
    // The five-character SQLSTATE of a server backend ("23505"), empty when there is none.
    const std::string& SqlState() const noexcept { return sqlState_; }

private:
    std::string driverMessage_;
    int code_;
    DbErrorKind kind_;
    std::string sqlState_;
};

}  // namespace plv::db
