#include "checker/myHTTPClass.h"

#include "checker/threadClass.h"

namespace quillfen {

void myHTTPClass::Event_Connected() {
    worker_.ShowProgress("Connected");
}

bool myHTTPClass::Event_AuthenticationRequired(const InternetHeaders& /*headers*/, std::string& /*user*/,
                                               std::string& /*password*/) {
    worker_.ShowProgress("Req. Authorization");
    return false;
}

void myHTTPClass::Event_HeadersReceived(const InternetHeaders& /*headers*/, int status) {
    worker_.TakeResult(status);
}

void myHTTPClass::Event_Error(int code) {
    worker_.TakeResult(code);
}

} // namespace quillfen
