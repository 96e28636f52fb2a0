"""The year a date's text names, read the way a person reads it, whatever program wrote it.

The year is the first number of one to four digits that is not a day: a day is a number of
one or two digits written just before a month name (`28 Jan 1456`, `99 March c. 999`) or,
in the American order, just after one and before the year (`Jan 5, 1850`). BC, B.C. or BCE
after the year makes it negative. A calendar escape (`@#DJULIAN@`) is skipped, and a numeric
date of three parts (`12/03/1850`, `12.3.1850`) names its last part. GEDCOM's own forms
(`ABT 1850`, `BET 1850 AND 1860`, `1750/51`) follow from the same rule."""

import re

_CALENDAR_ESCAPE = re.compile(r"@#D[^@]*@")
_NUMBER = re.compile(r"(?<![0-9])[0-9]+(?![0-9])")
_NUMERIC_DATE = re.compile(r"(?<![0-9])[0-9]{1,2}([./-])[0-9]{1,2}\1([0-9]{3,4})(?![0-9])")
_BEFORE_CHRIST = re.compile(r"\s*(B\.?\s?C\.?(\s?E\.?)?)(?![A-Za-z])", re.I)
_WORD_AFTER = re.compile(r"(?:st|nd|rd|th)?[\s.,]*(?:(?:of|de|del)\s+)?([^\W\d_]+)", re.I)
_WORD_BEFORE = re.compile(r"([^\W\d_]+)[\s.,]*$")
_YEAR_AFTER = re.compile(r"[\s.,]*[0-9]")

# Month names and abbreviations a date may use: GEDCOM's codes for its calendars, and the
# names in the languages genealogy programs write most (a name's first three letters or more
# also count, so `Sept` and `Dez.` are months).
_GEDCOM_MONTHS = {
    "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec",
    "vend", "brum", "frim", "nivo", "pluv", "vent", "germ", "flor", "prai", "mess", "ther",
    "fruc", "comp", "tsh", "csh", "ksl", "tvt", "shv", "adr", "ads", "nsn", "iyr", "svn",
    "tmz", "aav", "ell"}
_MONTH_NAMES = (
    "january february march april may june july august september october november december "
    "janvier février mars avril mai juin juillet août septembre octobre novembre décembre "
    "januar februar märz april mai juni juli august september oktober november dezember "
    "janeiro fevereiro março abril maio junho julho agosto setembro outubro novembro dezembro "
    "enero febrero marzo abril mayo junio julio agosto septiembre octubre noviembre diciembre "
    "gennaio febbraio marzo aprile maggio giugno luglio agosto settembre ottobre novembre "
    "dicembre januari februari maart april mei juni juli augustus september oktober november "
    "december").split()


def is_month(word: str) -> bool:
    word = word.lower()
    return word in _GEDCOM_MONTHS or (
        len(word) >= 3 and any(name.startswith(word) for name in _MONTH_NAMES))


def _is_day(text: str, number: re.Match) -> bool:
    if len(number[0]) > 2:
        return False
    after = _WORD_AFTER.match(text, number.end())
    if after and is_month(after[1]):
        return True
    before = _WORD_BEFORE.search(text, 0, number.start())
    return bool(before and is_month(before[1]) and _YEAR_AFTER.match(text, number.end()))


def year_of(text: str | None) -> int | None:
    """The year the date's text names; 0 for a date without text, None for text that names
    no year."""
    if not text or not text.strip():
        return 0
    text = _CALENDAR_ESCAPE.sub(" ", text)
    for number in _NUMBER.finditer(text):
        if len(number[0]) > 4 or _is_day(text, number):
            continue
        numeric = _NUMERIC_DATE.match(text, number.start())
        value = int(numeric[2] if numeric else number[0])
        end = numeric.end() if numeric else number.end()
        return -value if _BEFORE_CHRIST.match(text, end) else value
    return None
