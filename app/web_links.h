// The addresses the program opens in the browser: an object's page in the
// SIMBAD database of the CDS, the project website's redirect page for an
// object, and its news page. A project website is a base address such as
// "https://example.org" (a trailing slash is ignored); empty means none.
#pragma once

#include <string>

namespace celestra {

// SIMBAD's identifier query for catalogue object k (0..9328): a star by
// "HR n"; a Messier object as "M n"; a Caldwell object (which SIMBAD does not
// know by that number) by the designation its record starts with ("NGC 869").
// Empty outside the catalogues or when the record has no designation.
std::string simbadIdentifier(int k);
// The address of that query; empty when simbadIdentifier is.
std::string simbadUrl(int k);

// The website's redirect address for a catalogue query text
// ("catalog=messier&index=31&name=M31"): base +
// "/PocketPC/Celestra/Redirect/Redirect.htm?client=pda&" + query. Empty
// without a website.
std::string redirectUrl(const std::string& website, const std::string& query);
// The redirect address for catalogue object k (its picture-library query).
std::string objectRedirectUrl(const std::string& website, int k);
// The query for a body 1..11 that has no catalogue number:
// "catalog=planet&index=<n>&name=<name>".
std::string bodyRedirectQuery(int body);

// "Space News": base + "/news/default.aspx?lang=ENU&client=pda"; empty without a website.
std::string newsUrl(const std::string& website);

// Percent-encodes everything but letters, digits and "-._~".
std::string percentEncode(const std::string& text);

}  // namespace celestra
