#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The bytes of a fuzz input as a text.
std::string_view InputText(const std::uint8_t* data, std::size_t size);

// The text with every byte outside printable ASCII written as \xHH, for a finding's report.
std::string Printable(std::string_view text);

// A float's bit pattern and value, for a finding's report.
std::string Describe(float value);

// Reports a finding on stderr and aborts, so that libFuzzer keeps the input and a corpus replay
// fails. Returns only when `holds` is true.
void Require(bool holds, std::string_view what, std::string_view detail);
