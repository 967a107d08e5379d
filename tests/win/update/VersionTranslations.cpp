// A module that holds only a version resource (VersionTranslations.rc).
