// Standard Base64 on one line, for credentials in HTTP headers: a header must not break.
#pragma once

#include <string>
#include <string_view>

std::string EncodeBase64OneLine(std::string_view bytes);
