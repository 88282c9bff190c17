// Report texts as HTML: every text is escaped, and the small markup that the
// method library writes into its labels ("\omega^{2}", "\Sigma") becomes
// Greek letters and superscripts.
#pragma once

#include <string>
#include <string_view>

namespace lusmere {

// The HTML for a UTF-8 text: "&", "<", ">" and the quotes become references;
// "\name" for a known Greek letter (omega, Omega, chi, Sigma) becomes that
// letter; "^{...}" becomes a superscript of its converted contents. Markup
// that is not understood (an unknown name, a "^" without a closed group)
// stays as written.
//
// Throws EConvertError for a text that is not valid UTF-8 or that holds a
// control character other than tab, line feed and carriage return, since
// neither can stand in a well-formed HTML file.
std::string HtmlText(std::string_view text);

}  // namespace lusmere
