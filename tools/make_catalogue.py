#!/usr/bin/env python3
"""Builds the station catalogue that the settings dialog lists: data/nws_us.txt,
data/nws_int.txt and their licence notice data/NOTICE-stations.txt.

The source is the station list of Debian's weather-util-data package (public-domain NOAA
and Census data compiled under the ISC licence). Every station with a four-letter ICAO
identifier and a decoded METAR report is listed, except those the list knows only as
"unknown station in ...", which have no place name to show.

File format (read by the settings dialog): Windows-1252 text, CR LF line ends; a region
header "*Region*" (a US state, or a country), then one "ICAO^Place" line per station.
A place name never holds "*", "^", "(" or ")": the first two would break the line format,
and the dialog finds the identifier after the first "(" of "Place (ICAO)".

Usage:
  make_catalogue.py [--source DIR] [--licence FILE] [--out DIR]
  make_catalogue.py --check    regenerate into a temporary folder and compare with data/;
                               exit 1 when a file differs or is missing
The output depends only on the input files: the same package gives the same bytes.
"""

import argparse
import configparser
import filecmp
import gzip
import html
import math
import os
import re
import sys
import tempfile
import unicodedata

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_SOURCE = "/usr/share/weather-util"
DEFAULT_LICENCE = "/usr/share/doc/weather-util-data/copyright"
OUTPUT_FILES = ("nws_us.txt", "nws_int.txt", "NOTICE-stations.txt")

US_STATES = {
    "AK": "Alaska", "AL": "Alabama", "AR": "Arkansas", "AS": "American Samoa",
    "AZ": "Arizona", "CA": "California", "CO": "Colorado", "CT": "Connecticut",
    "DC": "District of Columbia", "DE": "Delaware", "FL": "Florida", "GA": "Georgia",
    "GU": "Guam", "HI": "Hawaii", "IA": "Iowa", "ID": "Idaho", "IL": "Illinois",
    "IN": "Indiana", "KS": "Kansas", "KY": "Kentucky", "LA": "Louisiana",
    "MA": "Massachusetts", "MD": "Maryland", "ME": "Maine", "MI": "Michigan",
    "MN": "Minnesota", "MO": "Missouri", "MP": "Northern Mariana Islands",
    "MS": "Mississippi", "MT": "Montana", "NC": "North Carolina", "ND": "North Dakota",
    "NE": "Nebraska", "NH": "New Hampshire", "NJ": "New Jersey", "NM": "New Mexico",
    "NV": "Nevada", "NY": "New York", "OH": "Ohio", "OK": "Oklahoma", "OR": "Oregon",
    "PA": "Pennsylvania", "PR": "Puerto Rico", "RI": "Rhode Island",
    "SC": "South Carolina", "SD": "South Dakota", "TN": "Tennessee", "TX": "Texas",
    "UT": "Utah", "VA": "Virginia", "VI": "Virgin Islands", "VT": "Vermont",
    "WA": "Washington", "WI": "Wisconsin", "WV": "West Virginia", "WY": "Wyoming",
}

# Country codes used by the airport-database descriptions ("Airport, City, Region, CC").
# US and PR go to the US file.
ISO_COUNTRIES = {
    "AE": "United Arab Emirates", "AM": "Armenia", "AO": "Angola", "AQ": "Antarctica",
    "AR": "Argentina", "AU": "Australia", "AZ": "Azerbaijan", "BD": "Bangladesh",
    "BG": "Bulgaria", "BO": "Bolivia", "BR": "Brazil", "BS": "Bahamas", "BT": "Bhutan",
    "BW": "Botswana", "BY": "Belarus", "CA": "Canada",
    "CD": "Democratic Republic of the Congo", "CH": "Switzerland", "CK": "Cook Islands",
    "CL": "Chile", "CM": "Cameroon", "CN": "China", "CO": "Colombia", "CU": "Cuba",
    "CV": "Cape Verde", "CZ": "Czech Republic", "DE": "Germany", "DK": "Denmark",
    "DO": "Dominican Republic", "DZ": "Algeria", "EC": "Ecuador", "EE": "Estonia",
    "EG": "Egypt", "EH": "Western Sahara", "ES": "Spain", "FJ": "Fiji", "FR": "France",
    "GA": "Gabon", "GB": "United Kingdom", "GE": "Georgia", "GQ": "Equatorial Guinea",
    "GR": "Greece", "GT": "Guatemala", "GY": "Guyana", "HN": "Honduras", "HU": "Hungary",
    "ID": "Indonesia", "IE": "Ireland", "IL": "Israel", "IN": "India", "IQ": "Iraq",
    "IR": "Iran", "IS": "Iceland", "IT": "Italy", "JP": "Japan", "KG": "Kyrgyzstan",
    "KH": "Cambodia", "KR": "South Korea", "KW": "Kuwait", "KZ": "Kazakhstan",
    "LA": "Laos", "LK": "Sri Lanka", "LV": "Latvia", "LY": "Libya", "MA": "Morocco",
    "MD": "Moldova", "ML": "Mali", "MM": "Myanmar", "MN": "Mongolia", "MR": "Mauritania",
    "MS": "Montserrat", "MU": "Mauritius", "MV": "Maldives", "MX": "Mexico",
    "MY": "Malaysia", "MZ": "Mozambique", "NA": "Namibia", "NG": "Nigeria",
    "NL": "Netherlands", "NO": "Norway", "NR": "Nauru", "OM": "Oman", "PA": "Panama",
    "PE": "Peru", "PF": "French Polynesia", "PG": "Papua New Guinea", "PK": "Pakistan",
    "PL": "Poland", "PT": "Portugal", "PY": "Paraguay", "QA": "Qatar", "RO": "Romania",
    "RS": "Serbia", "RU": "Russia", "RW": "Rwanda", "SA": "Saudi Arabia", "SD": "Sudan",
    "SE": "Sweden", "SG": "Singapore", "SI": "Slovenia", "SN": "Senegal", "SO": "Somalia",
    "SR": "Suriname", "SZ": "Eswatini", "TC": "Turks and Caicos Islands",
    "TH": "Thailand", "TJ": "Tajikistan", "TM": "Turkmenistan", "TN": "Tunisia",
    "TO": "Tonga", "TR": "Turkey", "TZ": "Tanzania",
    "VC": "Saint Vincent and the Grenadines", "UZ": "Uzbekistan", "VN": "Vietnam",
    "VU": "Vanuatu", "XK": "Kosovo", "ZA": "South Africa", "ZM": "Zambia",
    "ZW": "Zimbabwe",
}
US_ISO = {"US": None, "PR": "PR"}  # code -> fixed state, None: the state field decides

# Weather-service country names that read badly as a list heading.
COUNTRY_RENAMES = {
    "Korea, South": "South Korea",
    "Congo, Democratic Republic Of The": "Democratic Republic of the Congo",
    "Congo, Republic Of The": "Republic of the Congo",
    "Bahamas, The": "Bahamas",
    "Gambia, The": "Gambia",
    "Macedonia, The Republic Of": "North Macedonia",
    "Micronesia, Federated States Of": "Micronesia",
    "Islas Malvinas": "Falkland Islands",
    "Cote D'Ivoire": "C\u00f4te d'Ivoire",
    "Swaziland": "Eswatini",
    "South Georgia And The Islands": "South Georgia and the South Sandwich Islands",
}
COMMA_COUNTRY_TAILS = {"South", "North", "The", "Republic Of The",
                       "Democratic Republic Of The", "Federated States Of", "The Republic Of"}
US_COUNTRY_NAMES = {"United States", "United States of America", "United States Of America"}

# Stations the source names poorly or files under a region that no longer exists:
# ICAO -> (file "us" or "int", region, place); None keeps the parsed value.
# KEET is the program's default station: it must read "KEET^Alabaster" under "*Alabama*".
OVERRIDES = {
    "KEET": ("us", "Alabama", "Alabaster"),
    "NSTU": ("us", "American Samoa", "Pago Pago"),
    "PGRO": ("us", "Northern Mariana Islands", "Rota Island"),
    "PGSN": ("us", "Northern Mariana Islands", "Saipan Island"),
    "PGWT": ("us", "Northern Mariana Islands", "Tinian Island"),
    "PGUA": ("us", "Guam", "Andersen Air Force Base"),
    "KNSE": ("us", "Florida", "Milton Whiting Field North"),
    "KNDZ": ("us", "Florida", "Milton Whiting Field South"),
    "LYBE": ("int", "Serbia", "Belgrade"),
    "LYNI": ("int", "Serbia", "Nis"),
    "LYVR": ("int", "Serbia", "Vrsac"),
    "LYPG": ("int", "Montenegro", "Podgorica"),
    "LYTV": ("int", "Montenegro", "Tivat"),
    "TNCB": ("int", "Caribbean Netherlands", "Kralendijk, Bonaire"),
    "TNCE": ("int", "Caribbean Netherlands", "Sint Eustatius"),
    "TNCC": ("int", "Cura\u00e7ao", "Willemstad"),
    "TNCM": ("int", "Sint Maarten", "Simpson Bay"),
    "VHHH": ("int", None, "Hong Kong International Airport"),
}

# Abbreviations of the source's airport names, written out.
WORDS = {
    "Rgnl": "Regional", "Intl": "International", "Interntl": "International",
    "Int.": "International", "Int'L": "International", "Int'L.": "International", "Muni": "Municipal", "Mem": "Memorial", "Cnty": "County",
    "Arpt": "Airport", "Airpor": "Airport", "Afb": "AFB", "Nas": "NAS", "Mcas": "MCAS",
}

# Kinds of automatic station that some names end with; the place reads better without.
STATION_KINDS = re.compile(
    r"\s+(?:Automated Reporting Station|Automatic Weather Reporting System|"
    r"(?:Marine )?Aviation (?:Weather )?Reporting Station|"
    r"Meteorological Aeronautical Presentation System|Agdm|AGDM|Cs|Rcs)$")

# Trailing words of US airport names that go when what is left is a nearby town of the
# same name ("Hutchinson Municipal Airport" -> "Hutchinson").
AIRPORT_WORDS = {"Airport", "Airfield", "Airpark", "International", "Regional", "Municipal",
                 "Metro", "Metropolitan", "County"}
PLACE_KINDS = r"city|town|village|CDP|borough|municipality|city and borough|" \
    r"(?:metropolitan|unified|consolidated) government \(balance\)"
NEARBY_RADIANS = 25.0 / 6371.0  # 25 km

# Letters outside Windows-1252 that NFKD does not take apart.
TRANSLIT = {"\u0131": "i", "\u0141": "L", "\u0142": "l", "\u0110": "D", "\u0111": "d",
            "\u0126": "H", "\u0127": "h", "\u0259": "e", "\u018f": "E", "\u2019": "'",
            "\u02bb": "'", "\u02bc": "'"}


def to_cp1252(text):
    out = []
    for ch in text:
        try:
            ch.encode("cp1252")
            out.append(ch)
            continue
        except UnicodeEncodeError:
            pass
        if ch in TRANSLIT:
            out.append(TRANSLIT[ch])
            continue
        base = "".join(c for c in unicodedata.normalize("NFKD", ch)
                       if not unicodedata.combining(c))
        try:
            base.encode("cp1252")
            out.append(base)
        except UnicodeEncodeError:
            pass  # nothing readable to put in its place
    return "".join(out)


def sort_key(text):
    plain = "".join(c for c in unicodedata.normalize("NFKD", text)
                    if not unicodedata.combining(c))
    return plain.casefold()


def read_places(source):
    """Census towns by state: {state code: {name: [(lat, lon), ...]}} (radians)."""
    parser = configparser.ConfigParser(interpolation=None)
    with gzip.open(os.path.join(source, "places.gz"), "rt", encoding="utf-8") as f:
        parser.read_file(f)
    towns = {}
    for section in parser.sections():
        match = re.fullmatch(r"(.+) (?:%s), ([A-Z]{2})" % PLACE_KINDS,
                             parser[section].get("description", ""))
        centroid = re.fullmatch(r"\((\S+), (\S+)\)", parser[section].get("centroid", ""))
        if match and centroid:
            towns.setdefault(match.group(2), {}).setdefault(match.group(1), []).append(
                (float(centroid.group(1)), float(centroid.group(2))))
    return towns


def distance(a, b):
    (lat1, lon1), (lat2, lon2) = a, b
    h = (math.sin((lat2 - lat1) / 2) ** 2
         + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2)
    return 2 * math.asin(min(1.0, math.sqrt(h)))


def town_of_airport(name, towns, location):
    """The town an airport is named after, when a town of that name lies near the station."""
    words = name.split()
    while len(words) > 1 and words[-1] in AIRPORT_WORDS:
        words.pop()
        spots = towns.get(" ".join(words), [])
        if location and any(distance(location, spot) <= NEARBY_RADIANS for spot in spots):
            return " ".join(words)
    return name


def clean_place(name):
    name = re.sub(r"\([^)]*\)|\[[^\]]*\]", " ", name)
    name = re.sub(r"[*^()\[\]]", " ", name)
    name = STATION_KINDS.sub("", name.strip())
    words = [WORDS.get(w, w) for w in name.split()]
    name = " ".join(words)
    name = re.sub(r"\bMc([a-z]{3,})", lambda m: "Mc" + m.group(1).capitalize(), name)
    name = re.sub(r"'S\b", "'s", name)
    name = re.sub(r"\s*/\s*", " / ", name)
    name = name.strip(" .,-/")
    return to_cp1252(name)


def country_heading(name):
    name = COUNTRY_RENAMES.get(name, name)
    return re.sub(r"(?<=\S) (And|Of|The)\b", lambda m: " " + m.group(1).lower(), name)


def parse_description(description):
    """Returns (file, region, place, station name) for a station description, or None when
    the description names no usable region. The station name (often the airport's) tells
    apart stations of one place; it is empty when the description has none."""
    text = html.unescape(html.unescape(description)).split(" // ")[0]
    fields = [f for f in (s.strip() for s in re.split(r",", text)) if f]
    if len(fields) >= 2 and fields[-1] in COMMA_COUNTRY_TAILS:
        fields[-2:] = [fields[-2] + ", " + fields[-1]]
    if len(fields) < 2:
        return None
    last = fields[-1]
    if re.fullmatch(r"[A-Z]{2}", last):
        # Airport database form: name, [municipality, region code,] country code.
        rest = fields[:-1]
        place, name = (rest[-2], rest[0]) if len(rest) >= 3 else (rest[0], "")
        if last in US_ISO:
            state = US_ISO[last] or rest[-1]
            return ("us", US_STATES[state], place, name) if state in US_STATES else None
        if last not in ISO_COUNTRIES:
            raise ValueError("unknown country code %r in %r" % (last, description))
        return ("int", ISO_COUNTRIES[last], place, name)
    if last in US_COUNTRY_NAMES:
        rest = fields[:-2]
        state = fields[-2]
        if not rest:
            return None
        if state not in US_STATES:
            state = {v: k for k, v in US_STATES.items()}.get(state)
            if state is None:
                return None  # offshore platforms and the like
        if last == "United States":  # weather-service form: place first
            place, name = rest[0], rest[1] if len(rest) >= 2 else rest[0]
        else:  # name, municipality
            place, name = (rest[-1], rest[0]) if len(rest) >= 2 else (rest[0], "")
        return ("us", US_STATES[state], place, name)
    # Weather-service form: place, [station or province,] country.
    name = fields[1] if len(fields) > 2 and len(fields[1]) > 4 and "." not in fields[1] else ""
    if last == "Virgin Islands":
        return ("us", US_STATES["VI"], fields[0], name)
    if last == "United States Minor Outlying Islands":
        return None
    return ("int", country_heading(last), fields[0], name)


def read_stations(source):
    parser = configparser.ConfigParser(interpolation=None)
    with gzip.open(os.path.join(source, "stations.gz"), "rt", encoding="utf-8") as f:
        text = f.read()
    parser.read_string(text)
    stamp = re.search(r"^# generated by weather on (\S+)", text, re.M)
    return parser, (stamp.group(1) if stamp else "an unknown date")


def build_catalogue(source):
    parser, stamp = read_stations(source)
    towns = read_places(source)
    state_codes = {v: k for k, v in US_STATES.items()}
    regions = {"us": {}, "int": {}}
    for section in parser.sections():
        icao = section.upper()
        entry = parser[section]
        if not re.fullmatch(r"[A-Z]{4}", icao) or not entry.get("metar"):
            continue
        description = entry.get("description", "")
        if description.startswith("unknown station"):
            continue
        parsed = parse_description(description)
        override = OVERRIDES.get(icao)
        if override:
            base = parsed or (override[0], None, None, "")
            parsed = tuple(o if o is not None else b for o, b in zip(override, base)) + (
                "" if override[2] else base[3],)
        if parsed is None or not parsed[1] or not parsed[2]:
            continue
        kind, region, place, name = parsed
        place = clean_place(place)
        location = re.fullmatch(r"\((\S+), (\S+)\)", entry.get("location", ""))
        if kind == "us" and not (override and override[2]) and location:
            place = town_of_airport(place, towns.get(state_codes[region], {}),
                                    (float(location.group(1)), float(location.group(2))))
        if not place:
            continue
        regions[kind].setdefault(to_cp1252(region), []).append([place, icao, clean_place(name)])
    for stations in (s for r in regions.values() for s in r.values()):
        tell_apart(stations)
    return regions, stamp


def tell_apart(stations):
    """Stations of one region that share a place name get their own name added:
    "Denver, Centennial Airport", "Denver, International Airport"."""
    by_place = {}
    for station in stations:
        by_place.setdefault(station[0], []).append(station)
    for place, group in by_place.items():
        if len(group) < 2:
            continue
        for station in group:
            name = station[2]
            if name.startswith(place + " "):
                name = name[len(place) + 1:]
            if name and name != place:
                station[0] = place + ", " + name


def catalogue_text(stations_by_region, title, stamp):
    lines = ["Nimbalo weather stations: %s. Made by tools/make_catalogue.py from the "
             "weather-util-data station list of %s; see NOTICE-stations.txt." % (title, stamp)]
    for region in sorted(stations_by_region, key=lambda r: (sort_key(r), r)):
        lines.append("*%s*" % region)
        for place, icao, _ in sorted(stations_by_region[region],
                                     key=lambda s: (sort_key(s[0]), s[0], s[1])):
            lines.append("%s^%s" % (icao, place))
    return "".join(line + "\r\n" for line in lines)


def notice_text(licence_path, stamp):
    with open(licence_path, encoding="utf-8") as f:
        copyright_file = f.read()
    stanzas = []
    for stanza in re.split(r"\n\s*\n", copyright_file):
        if not stanza.startswith("Files:"):
            continue
        fields = re.findall(r"^(\S[^:\n]*):[ ]?(.*(?:\n .*)*)", stanza, re.M)
        stanzas.append({k: v for k, v in fields})
    parts = [
        "Station catalogue of Nimbalo (nws_us.txt, nws_int.txt)",
        "",
        "The station identifiers, place names and regions in these files were derived",
        "by tools/make_catalogue.py from the station list of Debian's weather-util-data",
        "package (correlation data of the \"weather\" project, generated %s)." % stamp,
        "That data is distributed under the following terms:",
        "",
    ]
    for stanza in stanzas:
        parts.append("Files: " + stanza.get("Files", "").strip())
        for key in ("Comment", "Copyright"):
            if stanza.get(key):
                parts.append("%s: %s" % (key, stanza[key].strip()))
        licence = stanza.get("License", "")
        first, _, body = licence.partition("\n")
        parts.append("License: " + first.strip())
        for line in body.split("\n"):
            line = line[1:] if line.startswith(" ") else line
            parts.append("" if line == "." else line)
        parts.append("")
    text = "\n".join(parts).rstrip("\n") + "\n"
    return to_cp1252(text).replace("\n", "\r\n")


def generate(source, licence, out_dir):
    regions, stamp = build_catalogue(source)
    files = {
        "nws_us.txt": catalogue_text(regions["us"], "United States, by state", stamp),
        "nws_int.txt": catalogue_text(regions["int"], "other countries", stamp),
        "NOTICE-stations.txt": notice_text(licence, stamp),
    }
    os.makedirs(out_dir, exist_ok=True)
    for name, text in files.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(text.encode("cp1252"))
    return {kind: (len(r), sum(len(s) for s in r.values())) for kind, r in regions.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source", default=DEFAULT_SOURCE,
                        help="folder with the package's stations.gz (default %(default)s)")
    parser.add_argument("--licence", default=DEFAULT_LICENCE,
                        help="the package's copyright file (default %(default)s)")
    parser.add_argument("--out", default=os.path.join(REPO, "data"),
                        help="output folder (default: the repository's data/)")
    parser.add_argument("--check", action="store_true",
                        help="compare a fresh generation with --out instead of writing it")
    args = parser.parse_args()

    if not args.check:
        counts = generate(args.source, args.licence, args.out)
        for kind, name in (("us", "nws_us.txt"), ("int", "nws_int.txt")):
            print("%s: %d stations in %d regions" % (name, counts[kind][1], counts[kind][0]))
        return 0

    with tempfile.TemporaryDirectory() as temp:
        generate(args.source, args.licence, temp)
        stale = [name for name in OUTPUT_FILES
                 if not os.path.isfile(os.path.join(args.out, name))
                 or not filecmp.cmp(os.path.join(temp, name), os.path.join(args.out, name),
                                    shallow=False)]
    if stale:
        print("make_catalogue: out of date in %s: %s (run tools/make_catalogue.py)"
              % (args.out, ", ".join(stale)), file=sys.stderr)
        return 1
    print("make_catalogue: %s are up to date" % ", ".join(OUTPUT_FILES))
    return 0


if __name__ == "__main__":
    sys.exit(main())
