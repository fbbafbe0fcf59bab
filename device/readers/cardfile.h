/* What lies on the stand-in reader: the file named by BRENVO_READER_CARD_FILE, read afresh
 * at every call so a test or a demo can lay a card on the reader and take it off. */
#ifndef BRENVO_CARDFILE_H
#define BRENVO_CARDFILE_H

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#define READER_EXPORT __declspec(dllexport)
#else
#define READER_EXPORT __attribute__((visibility("default")))
#endif

/* Copies the value of the line "name=value" into out; returns 1 when the line exists. */
static int card_value(const char *name, char *out, size_t outSize)
{
    const char *path = getenv("BRENVO_READER_CARD_FILE");
    FILE *file = path && *path ? fopen(path, "r") : NULL;
    char line[512];
    size_t nameLength = strlen(name);
    int found = 0;
    if (!file)
        return 0;
    while (!found && fgets(line, sizeof line, file)) {
        size_t length = strlen(line);
        while (length > 0 && isspace((unsigned char)line[length - 1]))
            line[--length] = '\0';
        if (strncmp(line, name, nameLength) == 0 && line[nameLength] == '=') {
            snprintf(out, outSize, "%s", line + nameLength + 1);
            found = 1;
        }
    }
    fclose(file);
    return found;
}

/* Reads the hexadecimal value of a line into bytes; returns how many, or -1 without the
 * line or with a malformed value. */
static int card_bytes(const char *name, unsigned char *out, int maxBytes)
{
    char hex[512];
    int count = 0;
    if (!card_value(name, hex, sizeof hex))
        return -1;
    for (const char *p = hex; *p; p += 2) {
        unsigned int byte;
        if (!isxdigit((unsigned char)p[0]) || !isxdigit((unsigned char)p[1]) || count == maxBytes)
            return -1;
        sscanf(p, "%2x", &byte);
        out[count++] = (unsigned char)byte;
    }
    return count;
}

#endif
