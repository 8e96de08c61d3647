// Gzip encoding of the stand-in's MDX answers, and the ways a test can spoil such a body.
#pragma once

#include <string>

// One complete gzip stream (RFC 1952) of the text.
std::string GzipText(const std::string& text);

// The body with bytes in its deflate data inverted, so that decoding fails.
std::string DamageGzip(std::string body);
// The body with its size trailer (ISIZE) replaced.
std::string WithGzipSizeTrailer(std::string body, unsigned int size);
// The size the trailer of a gzip body states.
unsigned int GzipSizeTrailer(const std::string& body);
