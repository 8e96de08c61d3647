// Resource ids of the provider module: registry scripts, dialogs with their controls, strings.
#pragma once

// Registry scripts ("REGISTRY").
constexpr unsigned kIdrZelmoModule = 101;
constexpr unsigned kIdrZelmoDataSource = 329;
constexpr unsigned kIdrZelmoConnectionPage = 339;
constexpr unsigned kIdrZelmoAdvancedPage = 344;

// Dialogs and their controls.
constexpr int kIddCredentialsPrompt = 207;
constexpr int kIdcPromptUserName = 209;
constexpr int kIdcPromptPassword = 210;

constexpr int kIddConnectionPage = 335;
constexpr int kIdcConnectionUserName = 204;
constexpr int kIdcConnectionPassword = 205;

constexpr int kIddAdvancedPage = 340;
constexpr int kIdcAdvancedVersion = 215;
constexpr int kIdcPreferAlias = 216;
constexpr int kIdcUseBoth = 217;
constexpr int kIdcUseMemberName = 218;

// Strings. 337, 338, 342 and 343 (the pages' help file and document strings) do not exist.
constexpr unsigned kIdsVisualMode = 328;
constexpr unsigned kIdsConnectionTitle = 336;
constexpr unsigned kIdsConnectionHelpFile = 337;
constexpr unsigned kIdsConnectionDocString = 338;
constexpr unsigned kIdsAdvancedTitle = 341;
constexpr unsigned kIdsAdvancedHelpFile = 342;
constexpr unsigned kIdsAdvancedDocString = 343;

// The type library ("TYPELIB").
constexpr unsigned kIdrTypeLib = 1;
