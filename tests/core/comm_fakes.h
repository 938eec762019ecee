#pragma once
// Recording fakes of the messaging service, the browser link and the main window's part in
// mail, for the tests of mail, fax and the browser link.

#include "core/model/nrb_object.h"
#include "core/services.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quill::test {

// A messaging service with an address book of display name -> addresses. Every call is
// logged as one line; buffers handed out and given back are counted.
class FakeMapi final : public IMapi {
public:
    std::optional<std::string> defaultProfile;
    MapiResult firstLogon = SUCCESS_SUCCESS; // the result of a logon with a profile
    MapiResult uiLogon = SUCCESS_SUCCESS;    // the result of a logon that asks the user
    MapiResult sendResult = SUCCESS_SUCCESS;
    std::map<std::string, std::vector<std::string>> book;
    std::size_t pick = 0; // the entry the user picks in the selection dialog
    std::vector<std::string> log;
    std::vector<MapiMessage> sent;
    int buffersOut = 0;
    MapiSession nextSession = 41;

    std::optional<std::string> DefaultProfile() const override { return defaultProfile; }
    MapiResult Logon(const std::optional<std::string>& profile,
                     const std::optional<std::string>& password, unsigned long flags,
                     MapiSession& session) override {
        log.push_back("logon " + profile.value_or("<none>") + "|" + password.value_or("<none>") +
                      "|" + std::to_string(flags));
        const MapiResult result = (flags & MAPI_LOGON_UI) ? uiLogon : firstLogon;
        if (result == SUCCESS_SUCCESS) {
            session = ++nextSession;
        }
        return result;
    }
    MapiResult ResolveName(MapiSession session, std::string_view name, unsigned long flags,
                           MapiRecipDesc*& resolved) override {
        log.push_back("resolve " + std::string(name) + "|" + std::to_string(flags) + "|" +
                      std::to_string(session));
        if (IsInternetAddress(name)) {
            return Hand(std::string(name), std::string(name), resolved);
        }
        const auto found = book.find(std::string(name));
        if (found == book.end() || found->second.empty()) {
            return MAPI_E_UNKNOWN_RECIPIENT;
        }
        if (found->second.size() > 1) {
            if (!(flags & MAPI_DIALOG)) {
                return MAPI_E_AMBIGUOUS_RECIPIENT;
            }
            const std::string& chosen = found->second.at(pick);
            return Hand(std::string(name) + " (" + chosen + ")", chosen, resolved);
        }
        return Hand(std::string(name), found->second.front(), resolved);
    }
    MapiResult SendMail(MapiSession session, const MapiMessage& message,
                        unsigned long flags) override {
        log.push_back("send " + std::to_string(session) + "|" + std::to_string(flags));
        sent.push_back(message);
        return sendResult;
    }
    MapiResult FreeBuffer(MapiRecipDesc* buffer) override {
        delete buffer;
        --buffersOut;
        return SUCCESS_SUCCESS;
    }
    MapiResult Logoff(MapiSession session) override {
        log.push_back("logoff " + std::to_string(session));
        return SUCCESS_SUCCESS;
    }

private:
    MapiResult Hand(std::string name, std::string address, MapiRecipDesc*& resolved) {
        resolved = new MapiRecipDesc{MAPI_ORIG, std::move(name), std::move(address)};
        ++buffersOut;
        return SUCCESS_SUCCESS;
    }
};

// Browsers that answer on their service and topics. Every call is logged as one line:
// "link S|T", "open ok" or "open no", "request ITEM", "close", "start PROGRAM".
class FakeBrowserLink final : public IBrowserLink {
public:
    std::set<std::string> running;                    // services that answer
    std::set<std::string> refusedTopics;              // topics no service answers
    std::map<std::string, std::string> startsService; // program -> service it starts
    std::map<std::string, std::string> replies;       // "S|T|ITEM" -> reply
    std::vector<std::string> log;
    std::string service;
    std::string topic;

    void SetLink(std::string_view s, std::string_view t) override {
        service = s;
        topic = t;
        log.push_back("link " + service + "|" + topic);
    }
    bool OpenLink() override {
        const bool ok = running.count(service) > 0 && refusedTopics.count(topic) == 0;
        log.push_back(ok ? "open ok" : "open no");
        return ok;
    }
    std::optional<std::string> RequestData(std::string_view item) override {
        log.push_back("request " + std::string(item));
        const auto found = replies.find(service + "|" + topic + "|" + std::string(item));
        if (found == replies.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    void CloseLink() override { log.push_back("close"); }
    bool StartApplication(std::string_view program) override {
        log.push_back("start " + std::string(program));
        const auto found = startsService.find(std::string(program));
        if (found == startsService.end()) {
            return false;
        }
        running.insert(found->second);
        return true;
    }
    // The log lines that start with the prefix.
    std::vector<std::string> Lines(std::string_view prefix) const {
        std::vector<std::string> lines;
        for (const std::string& line : log) {
            if (line.starts_with(prefix)) {
                lines.push_back(line);
            }
        }
        return lines;
    }
};

// The main window as mail sees it: a settings file, the list's selection and the answers to
// its questions.
class FakeMailHost final : public IMailHost {
public:
    std::string settingsFile;
    bool listActive = false;
    std::vector<const TNRBObject*> selected;
    bool answerYes = false;
    std::vector<std::string> asked;
    std::vector<std::string> errors;

    std::string SettingsFile() const override { return settingsFile; }
    bool ItemListActive() const override { return listActive; }
    std::vector<const TNRBObject*> SelectedListItems() const override { return selected; }
    bool Confirm(std::string_view text) override {
        asked.emplace_back(text);
        return answerYes;
    }
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
};

} // namespace quill::test
