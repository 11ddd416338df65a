#include "testing/Gzip.h"
#include "testing/LoopbackHttpServer.h"

#include <string.h>

namespace Testing {

std::optional<std::string> HttpRequest::Header(const std::string& name) const {
    for (const auto& [key, value] : headers) {
        if (_stricmp(key.c_str(), name.c_str()) == 0)
            return value;
    }
    return std::nullopt;
}

HttpAnswer HttpAnswer::Ok(std::string body, std::string contentType) {
    HttpAnswer answer;
    answer.body = std::move(body);
    answer.headers.emplace_back("Content-Type", std::move(contentType));
    return answer;
}

HttpAnswer HttpAnswer::NotFound() {
    HttpAnswer answer = Ok("Not Found", "text/plain");
    answer.status = 404;
    return answer;
}

HttpAnswer HttpAnswer::NotModifiedIfAsked(std::string body, std::string lastModified) {
    HttpAnswer answer = Ok(std::move(body));
    answer.lastModified = std::move(lastModified);
    return answer;
}

HttpAnswer HttpAnswer::Gzip(const std::string& plain, std::string contentType) {
    HttpAnswer answer = Ok(GzipStored(plain), std::move(contentType));
    answer.headers.emplace_back("Content-Encoding", "gzip");
    return answer;
}

HttpAnswer HttpAnswer::DroppedMidBody(std::string body, std::size_t bytesSent) {
    HttpAnswer answer = Ok(std::move(body));
    answer.dropAfter = bytesSent;
    return answer;
}

HttpAnswer HttpAnswer::ShortBody(std::string body, std::size_t announcedLength) {
    HttpAnswer answer = Ok(std::move(body));
    answer.announcedLength = announcedLength;
    return answer;
}

HttpAnswer HttpAnswer::StalledMidBody(std::string body, std::size_t bytesSent) {
    HttpAnswer answer = Ok(std::move(body));
    answer.stallAfter = bytesSent;
    return answer;
}

HttpAnswer HttpAnswer::NeverAnswered() {
    HttpAnswer answer = Ok("");
    answer.headDelayMs = 0xFFFFFFFFul;
    return answer;
}

HttpAnswer HttpAnswer::Slow(std::string body, std::size_t chunkSize, unsigned long chunkDelayMs) {
    HttpAnswer answer = Ok(std::move(body));
    answer.chunkSize = chunkSize;
    answer.chunkDelayMs = chunkDelayMs;
    return answer;
}

HttpAnswer HttpAnswer::Redirect(std::string location, int status) {
    HttpAnswer answer = Ok("", "text/plain");
    answer.status = status;
    answer.headers.emplace_back("Location", std::move(location));
    return answer;
}

HttpAnswer HttpAnswer::WithoutLength(std::string body) {
    HttpAnswer answer = Ok(std::move(body));
    answer.sendContentLength = false;
    return answer;
}

}  // namespace Testing
