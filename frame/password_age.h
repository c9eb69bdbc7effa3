#pragma once
// How long a suite user's password may live: the business and the user each may set a number of
// days (DIAS_CLAVE); the stricter positive one applies.

#include <cstdint>
#include <optional>

namespace frame {

// The smaller of the two limits when both are positive, the positive one when only one is, else
// 0 (no limit).
int PasswordDayLimit(int business_days, int user_days);

// Whether a password last changed on `changed` (a Julian day; none: never recorded) has outlived
// `limit` days by `today`.
bool PasswordTooOld(std::optional<int64_t> changed, int limit, int64_t today);

}  // namespace frame
