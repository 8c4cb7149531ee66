#pragma once

#include <string>
#include <string_view>

namespace quendra::transfer {

// The Italian texts of failed transfers. They name the host and the file, never a URL
// (which could carry credentials) and never a password.

// A libcurl result code other than success.
std::string transferFailureText(int curlCode, const std::string& host, const std::string& file);
// A web server's answer other than 200.
std::string httpStatusText(long status, const std::string& host, const std::string& file);
std::string emptyBodyText(const std::string& host, const std::string& file);
std::string textTooLongText(const std::string& host, const std::string& file);
std::string fileTooLargeText(const std::string& host, const std::string& file);
// An https answer that sends the client on to a plain http address.
std::string insecureRedirectText(const std::string& host, const std::string& file);
std::string invalidAddressText();
// No [Server] in tovald.INI (or no network at all): there is nothing to connect to.
std::string noServerText();
std::string localReadText(const std::string& file);
std::string localWriteText(const std::string& file);
// A message, and on the next line why.
std::string withReason(std::string_view message, std::string_view reason);

}  // namespace quendra::transfer
