// The session side of the schema rowsets: the login step, a cube's model id through the session's
// name map, and the session's cached models.
#pragma once

#include <string>

#include "client/api_auth_token.h"
#include "client/json_model.h"
#include "provider/schema/restriction_set.h"
#include "provider/schema/schema_text.h"

class ZelmoSession;

// The user name (kNarrowUserNameBytes) and password (kNarrowPasswordBytes) of the session's data
// source as UTF-8; empty without a session or data source.
void ReadSessionCredentials(ZelmoSession* session, char* user, char* password);

// Logs the data source's user in with its narrow credentials read as UTF-8; the login cache
// answers after the user's first login.
APIAuthToken LoginWithCredentials(const char* user, const char* password);

// A cube's model id: wide for the rows, UTF-8 for the requests.
struct CubeModelId {
    std::u16string wide;
    char narrow[kIdTextBytes];
};

// The model id of the cube the restrictions name; false when no cube is named, the session has
// not listed it, or its id does not fit a request id.
bool LookUpCubeModelId(const ZelmoSession* session, const RestrictionSet& restrictions,
                       CubeModelId& id);

// The first of the session's cached models with that id; null when none has it.
JSONModel* FindCachedModel(ZelmoSession* session, const char* narrowModelId);
