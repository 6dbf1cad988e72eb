#pragma once
// The one failure type of the core: a message for the host and the result code it travels with.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace ramvel {

inline constexpr std::int32_t kEUnexpected = static_cast<std::int32_t>(0x8000FFFF);

class RamvelError : public std::exception {
public:
    explicit RamvelError(std::u16string message, std::int32_t hresult = kEUnexpected)
        : message_(std::move(message)), hresult_(hresult) {}

    const std::u16string& Message() const noexcept { return message_; }
    std::int32_t HResult() const noexcept { return hresult_; }
    const char* what() const noexcept override { return "RamvelError"; }

private:
    std::u16string message_;
    std::int32_t hresult_;
};

// Texts of the run-time layer that hosts see as error descriptions.
inline const std::u16string kIndexIncorrect = u"Index incorrect";

}  // namespace ramvel
