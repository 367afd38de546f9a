#pragma once
// "Extract Web/Proxy Addresses from Selected": the IPv4 addresses with a port
// in a text ("10.0.0.1:8080", or "10.0.0.1 8080" with a space for the colon),
// each written "a.b.c.d:port" and followed by CR LF, in the order found. The
// scan stops at the first dotted run whose parts are not all of at most three
// characters; octet values are not range-checked.

#include <string>
#include <string_view>

namespace orv {

std::string ExtractWebAddresses(std::string_view sText);

}  // namespace orv
