import sys

from kinship_from_gedcom.cli import main

sys.exit(main())
